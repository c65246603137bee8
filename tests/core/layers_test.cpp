// The layer rules of src/, read from its #include lines: widgets only in ui/ and app/,
// no area includes the session, and the folders depend on each other one way only.

#include "testmain.h"

#include <QDirIterator>
#include <QLibraryInfo>
#include <QRegularExpression>
#include <QTest>
#include <functional>

namespace {

const QString kSource = QStringLiteral(ZELCOR_SOURCE_DIR "/src/");

// Every #include of src/: the file (below src/) and the header as written.
QList<std::pair<QString, QString>> sourceIncludes() {
    static const QRegularExpression include(QStringLiteral("^\\s*#\\s*include\\s*[<\"]([^>\"]+)[>\"]"),
                                            QRegularExpression::MultilineOption);
    QList<std::pair<QString, QString>> out;
    QDirIterator it(kSource, {"*.h", "*.cpp"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        if (!file.open(QIODevice::ReadOnly)) continue;
        for (const QRegularExpressionMatch& m : include.globalMatch(QString::fromUtf8(file.readAll())))
            out.append({it.filePath().mid(kSource.size()), m.captured(1)});
    }
    return out;
}

// Folder -> folder it includes from -> a file that does.
using Graph = QMap<QString, QMap<QString, QString>>;

// A cycle as "a -> b -> a (the files that include)"; empty when there is none.
QString findCycle(const Graph& graph) {
    QStringList path, done;
    std::function<QString(const QString&)> visit = [&](const QString& node) -> QString {
        path << node;
        const QMap<QString, QString> edges = graph.value(node);
        for (auto edge = edges.begin(); edge != edges.end(); ++edge) {
            if (const qsizetype at = path.indexOf(edge.key()); at >= 0) {
                const QStringList cycle = path.mid(at) << edge.key();
                QStringList files;
                for (qsizetype i = 0; i + 1 < cycle.size(); ++i)
                    files << graph.value(cycle[i]).value(cycle[i + 1]);
                return cycle.join(QStringLiteral(" -> ")) + " (" + files.join(QStringLiteral(", ")) + ")";
            }
            if (const QString found = done.contains(edge.key()) ? QString() : visit(edge.key()); !found.isEmpty())
                return found;
        }
        path.removeLast();
        done << node;
        return QString();
    };
    for (const QString& node : graph.keys())
        if (const QString found = done.contains(node) ? QString() : visit(node); !found.isEmpty()) return found;
    return QString();
}

} // namespace

class LayersTest : public QObject {
    Q_OBJECT
private slots:
    // No file whose path below src/ matches `files` includes a header matching `forbidden`.
    void forbiddenIncludes_data() {
        QTest::addColumn<QString>("files");
        QTest::addColumn<QString>("forbidden");
        // Every header of the widgets module, whatever its name.
        const QDir widgets(QLibraryInfo::path(QLibraryInfo::HeadersPath) + QStringLiteral("/QtWidgets"));
        const QStringList classes = widgets.entryList({"Q*"}, QDir::Files);
        QVERIFY2(classes.contains("QWidget") && classes.contains("QDialog"), qPrintable(widgets.path()));
        QTest::newRow("widgets only in ui and app") << "^(?!ui/|app/)"
                                                    << "^(ui/|QtWidgets/|(" + classes.join(QLatin1Char('|')) + ")$)";
        QTest::newRow("no area includes the session")
            << "^(dtc|live|vehicle|vehicleinfo|instruments|logging|link|config|base|obd|definitions|modules)/"
            << "^core/session\\.h$";
    }
    void forbiddenIncludes() {
        QFETCH(QString, files);
        QFETCH(QString, forbidden);
        const QRegularExpression checked(files), isForbidden(forbidden);
        QStringList found;
        int seen = 0;
        for (const auto& [file, header] : sourceIncludes()) {
            if (!checked.match(file).hasMatch()) continue;
            ++seen;
            if (isForbidden.match(header).hasMatch()) found << file + ": " + header;
        }
        QVERIFY2(seen > 50, qPrintable(kSource)); // the tree was read
        QVERIFY2(found.isEmpty(), qPrintable(found.join(QStringLiteral("; "))));
    }

    void noCycleBetweenFolders() {
        QCOMPARE(findCycle({{"a", {{"b", "a/1.h"}}}, {"b", {{"c", "b/2.h"}}}, {"c", {{"d", "c/4.h"}, {"a", "c/3.h"}}}}),
                 QStringLiteral("a -> b -> c -> a (a/1.h, b/2.h, c/3.h)"));
        const QStringList folders = {"base",        "config", "link", "obd",         "vehicle",
                                     "vehicleinfo", "dtc",    "live", "instruments", "logging",
                                     "core",        "ui",     "app",  "definitions", "modules"};
        Graph graph;
        for (const auto& [file, header] : sourceIncludes()) {
            const QString from = file.section('/', 0, 0), to = header.section('/', 0, 0);
            if (from != to && header.contains('/') && folders.contains(from) && folders.contains(to))
                graph[from].insert(to, file);
        }
        QVERIFY(graph.value("core").contains("link")); // the tree was read
        const QString cycle = findCycle(graph);
        QVERIFY2(cycle.isEmpty(), qPrintable("the folders include each other: " + cycle));
    }
};

ZELCOR_TEST(LayersTest)
#include "layers_test.moc"
