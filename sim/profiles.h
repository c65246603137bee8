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
};

QStringList profileNames();
std::optional<Profile> findProfile(const QString& name);

} // namespace zelcor::sim
