// The program time of one pass of manufacturer parameters: forty parameters, twenty from
// each of two 60-byte replies (16-bit values, signed ones, bits, scaled bytes, and val{}
// chains), each reply checked and every value computed in dependency order. Shows the
// time per pass and per evaluated value, and the values per second that leaves the link.
//
// bench_definitions [passes, default 200000]

#include "definitions/requestplan.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <cstdio>
#include <cstdlib>

using namespace zelcor;

namespace {

// Twenty lines on `request` of 7E4, in the forms shared files use.
QByteArray lines(const char* request, const char* prefix) {
    QByteArray text;
    const auto line = [&](int n, const QByteArray& equation) {
        text += QByteArray(prefix) + QByteArray::number(n) + ",," + request + "," + equation + ",,,,7E4\n";
    };
    for (int n = 0; n < 5; ++n) {
        const QByteArray high = byteName(2 * n).toLatin1(), low = byteName(2 * n + 1).toLatin1();
        line(n, "((" + high + "<8)+" + low + ")/10");
    }
    for (int n = 5; n < 10; ++n)
        line(n, "(Signed(" + byteName(10 + 2 * n).toLatin1() + ")*256+" + byteName(11 + 2 * n).toLatin1() + ")/100");
    for (int n = 10; n < 15; ++n)
        line(n, "{" + byteName(30 + n).toLatin1() + ":" + QByteArray::number(n % 8) + "}");
    for (int n = 15; n < 18; ++n)
        line(n, byteName(40 + n).toLatin1() + "*0.4-40");
    line(18, "val{" + QByteArray(prefix) + "0}*val{" + prefix + "5}/1000");
    line(19, "MAX(val{" + QByteArray(prefix) + "18}:0)");
    return text;
}

} // namespace

int main(int argc, char** argv) {
    const long passes = argc > 1 ? std::atol(argv[1]) : 200000;
    const RequestPlan plan({readDefinitions(lines("2101", "Battery ")), readDefinitions(lines("2102", "Cells "))});
    if (plan.parameters().size() != 40 || plan.requests().size() != 2) {
        std::fprintf(stderr, "the bench's definitions did not load\n");
        return 1;
    }
    QList<RequestOutcome> outcomes;
    for (int r = 0; r < 2; ++r) {
        QByteArray message = QByteArray::fromHex(r == 0 ? "6101" : "6102");
        for (int i = 0; i < 60; ++i)
            message.append(char(i * 37 + r));
        outcomes.append({message, QString()});
    }
    QList<ParameterValue> values;
    double sum = 0;
    QElapsedTimer timer;
    timer.start();
    for (long pass = 0; pass < passes; ++pass) {
        outcomes[0].message[2] = char(pass);
        plan.evaluate(outcomes, &values);
        sum += values[18].value.value_or(0);
    }
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    int withValue = 0;
    for (const ParameterValue& v : values)
        withValue += v.value ? 1 : 0;
    std::printf("%ld passes of 40 parameters from 2 replies (%d with a value), checksum %.1f\n", passes, withValue,
                sum);
    std::printf("%.2f us per pass, %.0f ns per value, %.2e values per second of program time\n",
                seconds / double(passes) * 1e6, seconds / double(passes) / 40 * 1e9, double(passes) * 40 / seconds);
    return 0;
}
