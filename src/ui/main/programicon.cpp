#include "ui/main/programicon.h"

namespace zelcor {

QIcon programIcon() {
    return QIcon(QStringLiteral(":/icons/" ZELCOR_APP_ID ".svg"));
}

} // namespace zelcor
