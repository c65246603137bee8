#pragma once
// The named vehicles the simulator can be: which protocol the car speaks and which
// controllers answer.

#include "sim/controller.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace zelcor::sim {

struct Profile {
    QString name;
    QString description;
    int protocol = 0; // 0: no vehicle answers at all
    QList<ControllerDefinition> controllers;
    // A cheap copy of the adapter: no several PIDs in one request ("?"), no AT AT ("?"),
    // the response count ignored, every request waits out the whole AT ST time-out.
    bool cloneAdapter = false;
    // A chip of the STN family: the ELM327 commands and its own (ST I, ST DI, ST BR, ST PX),
    // eight times the ELM327's buffer.
    bool stnAdapter = false;
};

QStringList profileNames();
std::optional<Profile> findProfile(const QString& name);

} // namespace zelcor::sim
