#include "sim/drive.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zelcor::sim {

namespace {

constexpr double pi2 = 2 * std::numbers::pi;

// Phase boundaries within one cycle, seconds.
constexpr double idleEnd = 15;
constexpr double accelerationEnd = 27;
constexpr double cruiseEnd = 57;
constexpr double brakingEnd = 69;
constexpr double cycleEnd = 80;
constexpr double topSpeed = 100;
constexpr double cruiseWobble = 1.5; // km/h
constexpr double cruiseWobblePeriod = 15;

// Engine revolutions per km/h in each gear (0 = neutral).
constexpr double gearRatio[] = {0, 150, 80, 55, 42, 30, 23};

constexpr double idleRpm = 750;
constexpr double displacement = 2.0; // litres
constexpr double airDensity = 1.19;  // g/l

double accelerationShare(double u) {
    return 1 - std::pow(1 - u, 1.6);
}

double speedInCycle(double c) {
    if (c < idleEnd) return 0;
    if (c < accelerationEnd) return topSpeed * accelerationShare((c - idleEnd) / (accelerationEnd - idleEnd));
    if (c < cruiseEnd) return topSpeed + cruiseWobble * std::sin(pi2 * (c - accelerationEnd) / cruiseWobblePeriod);
    if (c < brakingEnd) return topSpeed * (1 - (c - cruiseEnd) / (brakingEnd - cruiseEnd));
    return 0;
}

// Kilometres covered from the start of a cycle to `c` seconds into it (integral of the speed).
double distanceInCycle(double c) {
    double kmh_s = 0; // km/h times seconds
    const double accelerating = accelerationEnd - idleEnd;
    if (c > idleEnd) {
        const double u = std::min(c - idleEnd, accelerating) / accelerating;
        // u - (1 - (1 - u)^2.6) / 2.6, written so that small u does not cancel out.
        kmh_s += accelerating * topSpeed * std::max(0.0, u + std::expm1(2.6 * std::log1p(-u)) / 2.6);
    }
    if (c > accelerationEnd) {
        const double d = std::min(c, cruiseEnd) - accelerationEnd;
        kmh_s += topSpeed * d - cruiseWobble * cruiseWobblePeriod / pi2 * (std::cos(pi2 * d / cruiseWobblePeriod) - 1);
    }
    if (c > cruiseEnd) {
        const double braking = brakingEnd - cruiseEnd;
        const double u = std::min(c - cruiseEnd, braking) / braking;
        kmh_s += braking * topSpeed * (u - u * u / 2);
    }
    return kmh_s / 3600;
}

int gearFor(DrivePhase phase, double speed) {
    switch (phase) {
    case DrivePhase::Idle:
        return 0;
    case DrivePhase::Accelerating:
        return speed < 20 ? 1 : speed < 40 ? 2 : speed < 60 ? 3 : speed < 80 ? 4 : 5;
    case DrivePhase::Cruising:
        return 6;
    case DrivePhase::Braking:
        return speed >= 70 ? 6 : speed >= 50 ? 4 : speed >= 30 ? 3 : speed >= 15 ? 2 : 1;
    }
    return 0;
}

} // namespace

double driveCycleLength() {
    return cycleEnd;
}

DriveState driveAt(double seconds) {
    DriveState s;
    const double t = std::max(0.0, seconds);
    s.time = t;
    const double cycles = std::floor(t / cycleEnd);
    const double c = t - cycles * cycleEnd;
    s.phase = c < idleEnd           ? DrivePhase::Idle
              : c < accelerationEnd ? DrivePhase::Accelerating
              : c < cruiseEnd       ? DrivePhase::Cruising
              : c < brakingEnd      ? DrivePhase::Braking
                                    : DrivePhase::Idle;
    s.speed = speedInCycle(c);
    s.distance = cycles * distanceInCycle(cycleEnd) + distanceInCycle(c);
    s.gear = gearFor(s.phase, s.speed);
    const double u = s.phase == DrivePhase::Accelerating ? (c - idleEnd) / (accelerationEnd - idleEnd) : 0;

    // Temperatures: a cold start, the thermostat opening near 89 deg C.
    s.ambient = 21;
    s.coolant = std::min(22 + 68 * (1 - std::exp(-t / 180)), 89 + std::sin(pi2 * t / 90));
    const double warm = std::clamp((s.coolant - 22) / 66, 0.0, 1.0);
    s.intake = s.ambient + 7 * std::exp(-s.speed / 30) + 4 * warm;

    // Engine speed: fast idle while cold, a torque converter at launch.
    const double idle = idleRpm + 350 * std::clamp((60 - s.coolant) / 40, 0.0, 1.0) + 15 * std::sin(pi2 * t / 3.7);
    const double geared = gearRatio[s.gear] * s.speed;
    switch (s.phase) {
    case DrivePhase::Idle:
        s.rpm = idle;
        break;
    case DrivePhase::Accelerating:
        s.rpm = std::max(geared, 1900.0);
        break;
    case DrivePhase::Cruising:
        s.rpm = geared;
        break;
    case DrivePhase::Braking:
        s.rpm = std::max(geared, idle + 50);
        break;
    }
    const bool fuelCut = s.phase == DrivePhase::Braking && s.rpm > 1200 && warm > 0.5;

    // Driver and throttle.
    constexpr double closedThrottle = 14.5;
    switch (s.phase) {
    case DrivePhase::Idle:
    case DrivePhase::Braking:
        s.pedal = 0;
        s.throttle = closedThrottle;
        s.map = fuelCut ? 22 : 31;
        s.timing = fuelCut ? 20 : 10 + 2 * std::sin(pi2 * t / 2.3);
        break;
    case DrivePhase::Accelerating:
        s.pedal = 60 * (1 - 0.4 * u);
        s.throttle = closedThrottle + 0.8 * s.pedal;
        s.map = 90 - 10 * u;
        s.timing = 14 + 8 * u;
        break;
    case DrivePhase::Cruising:
        s.pedal = 12 + 2 * std::sin(pi2 * (c - accelerationEnd) / cruiseWobblePeriod + 1);
        s.throttle = closedThrottle + 0.8 * s.pedal;
        s.map = 50 + 3 * std::sin(pi2 * (c - accelerationEnd) / cruiseWobblePeriod + 1);
        s.timing = 32;
        break;
    }
    if (s.phase == DrivePhase::Idle) s.map += 6 * (1 - warm); // fast idle draws more air
    s.load = std::clamp(s.map / 101.3 * 95, 0.0, 100.0);
    s.maf = s.rpm / 120 * displacement * airDensity * (s.map / 101.3) * 0.85 * (293.0 / (273 + s.intake));

    // Fuel control and oxygen sensors.
    const bool sensorsCold = t < 25;
    const bool enrich = s.phase == DrivePhase::Accelerating && s.throttle > 50;
    if (s.coolant < 40)
        s.fuelSystem = OpenLoopCold;
    else if (enrich || fuelCut)
        s.fuelSystem = OpenLoopDriving;
    else
        s.fuelSystem = ClosedLoop;
    const double swing = std::sin(pi2 * 1.1 * t);
    if (s.fuelSystem == ClosedLoop) {
        s.shortTrim = 4 * swing;
        s.o2Upstream = 0.45 - 0.38 * std::tanh(3 * std::sin(pi2 * 1.1 * t - 0.5));
        s.lambda = 1 + 0.015 * std::sin(pi2 * 1.1 * t - 0.5);
        s.commandedLambda = 1;
    } else if (fuelCut) {
        s.o2Upstream = 0.06;
        s.lambda = 1.99;
        s.commandedLambda = 1.99;
    } else if (enrich) {
        s.o2Upstream = 0.86;
        s.lambda = 0.87;
        s.commandedLambda = 0.87;
    } else {
        s.o2Upstream = sensorsCold ? 0.45 : 0.75;
        s.lambda = 0.92;
        s.commandedLambda = 0.92;
    }
    if (t < 60)
        s.o2Downstream = 0.45;
    else if (fuelCut)
        s.o2Downstream = 0.1;
    else if (enrich)
        s.o2Downstream = 0.8;
    else
        s.o2Downstream = 0.68 + 0.04 * std::sin(pi2 * t / 9);

    s.catalyst = s.ambient + (1 - std::exp(-t / 150)) * (350 + 3.5 * s.load);
    s.purge = s.fuelSystem == ClosedLoop ? 25 + 15 * std::sin(pi2 * t / 40) : 0;
    s.fuelLevel = std::clamp(62 - 0.06 * s.distance + 0.8 * std::sin(pi2 * t / 5), 0.0, 100.0);
    s.voltage = (t < 30 ? 14.4 : 14.2) + 0.05 * std::sin(pi2 * t / 7);
    return s;
}

} // namespace zelcor::sim
