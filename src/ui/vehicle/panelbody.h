#pragma once
// Puts a panel's contents into its frame's body.

class QWidget;

namespace zelcor {

class PanelFrame;

// `content` fills the body of `frame`, in place of any spacing the frame was built with;
// widgets already in the body stay where they are.
void fillPanelBody(PanelFrame* frame, QWidget* content);

} // namespace zelcor
