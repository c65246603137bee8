// Fuzz target: recorded drives. The input is a recording file. Every line is parsed, and
// a record read back from the line the program would write for it must be the same
// record. The file is then played by the replay window's player at full speed, twice:
// the second time with every slot's gauge and graph on.

#include "fuzzrig.h"
#include "logging/recording.h"
#include "logging/recordingplayer.h"

using namespace zelcor;
using namespace zelcor::fuzz;

namespace {

QString lineFor(const ReplayRecord& record) {
    switch (record.kind) {
    case ReplayRecord::Kind::Mark:
        return markRecordLine(fromDateValue(record.date), record.text);
    case ReplayRecord::Kind::Channel:
        return channelRecordLine(record.pid, record.text);
    case ReplayRecord::Kind::Data:
        return dataRecordLine(record.time, record.pid, record.text);
    case ReplayRecord::Kind::ManufacturerChannel:
        return manufacturerChannelRecordLine(record.pid, record.text, record.units, record.minimum, record.maximum);
    case ReplayRecord::Kind::Definitions:
        return definitionsRecordLine(record.files);
    }
    return {};
}

void checkLines(const QByteArray& bytes) {
    for (const QByteArray& raw : bytes.split('\n')) {
        const auto record = parseRecord(QString::fromLatin1(raw));
        if (!record) continue;
        const auto again = parseRecord(lineFor(*record));
        require(again && again->kind == record->kind && again->pid == record->pid && again->text == record->text,
                "a record written reads back");
    }
}

void play(const QString& path, const Settings& settings) {
    StepClock clock;
    RecordingPlayer player(clock, settings);
    if (!player.open(path)) return;
    player.fastClicked(true); // plays to the end of the file
    for (int slot = 0; slot < player.slotCount(); ++slot) {
        player.setShowGauge(slot, true);
        player.setPlot(slot, true);
    }
    player.fastClicked(false);
    player.fastClicked(true); // again from the beginning
    require(!player.running(), "the play loop ends at the end of the file");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    checkLines(bytes);
    Settings settings;
    // Either unit system, by the file's length.
    settings.fahrenheit = settings.psi = settings.milesPerHour = size % 2 == 0;
    play(writeScratchFile(QStringLiteral("drive.log"), bytes), settings);
    return 0;
}
