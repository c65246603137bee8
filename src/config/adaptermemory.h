#pragma once
// What the last connection learned about each adapter (its device or address and its
// banner), kept in zelcor.ini so that the next connection starts with it, and whether the
// line rate is raised for a session.

#include <QString>
#include <QStringList>
#include <optional>

namespace zelcor {

struct RememberedAdapter {
    QString banner;
    QString chip; // "ELM327", "STN"
    QString firmware;
    QStringList works, refused; // command names ("ATAT", "ATSH3", "count")
};

// What was learned about the adapter on `device`; none when nothing was, or when it said
// another banner then (a new firmware or another adapter: its old entry is not trusted).
std::optional<RememberedAdapter> loadRememberedAdapter(const QString& folder, const QString& device,
                                                       const QString& banner);
// The banner the adapter on `device` said last time; empty when none is kept.
QString rememberedBanner(const QString& folder, const QString& device);
void rememberAdapter(const QString& folder, const QString& device, const RememberedAdapter& adapter);

// The rate a session asks the adapter for ("adapter/fasterBaudRate", 115200 by default);
// 0 keeps the rate the adapter was found at.
int loadFasterBaudRate(const QString& folder);
// The setup panel's switch: off keeps the found rate; on asks for the configured rate again.
bool saveFasterLine(const QString& folder, bool on, QString* error = nullptr);

} // namespace zelcor
