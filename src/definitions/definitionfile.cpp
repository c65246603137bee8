#include "definitions/definitionfile.h"

#include <QFile>
#include <QHash>
#include <QStringDecoder>
#include <algorithm>
#include <cmath>

namespace zelcor {

namespace {

// An ISO-TP message holds at most this many bytes, the echoed service and identifier among them.
constexpr int kLongestMessage = 4095;

bool isHexDigits(QStringView text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) {
        return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || (c >= QLatin1Char('A') && c <= QLatin1Char('F')) ||
               (c >= QLatin1Char('a') && c <= QLatin1Char('f'));
    });
}

// `text` without a leading "0x".
QString withoutHexPrefix(const QString& text) {
    return text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive) ? text.mid(2) : text;
}

// The text of the file: UTF-8 unless a byte-order mark says UTF-16 or UTF-32.
QString decoded(const QByteArray& contents) {
    const auto encoding = QStringConverter::encodingForData(contents);
    QStringDecoder decoder(encoding.value_or(QStringConverter::Utf8));
    QString text = decoder(contents);
    if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
    return text;
}

QList<QStringView> linesOf(const QString& text) {
    QList<QStringView> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != QLatin1Char('\r') && text[i] != QLatin1Char('\n')) continue;
        lines.append(QStringView(text).mid(start, i - start));
        if (text[i] == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n')) ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.append(QStringView(text).mid(start));
    return lines;
}

// One line split into its cells, or the column where it cannot be split and why.
struct Cells {
    QStringList cells;
    int faultColumn = 0;
    QString fault;
};

Cells splitCells(QStringView line) {
    Cells out;
    const qsizetype n = line.size();
    qsizetype i = 0;
    const auto skipBlanks = [&] {
        while (i < n && (line[i] == QLatin1Char(' ') || line[i] == QLatin1Char('\t')))
            ++i;
    };
    for (;;) {
        skipBlanks();
        if (i < n && line[i] == QLatin1Char('"')) {
            QString value;
            bool closed = false;
            for (++i; i < n; ++i) {
                if (line[i] != QLatin1Char('"')) {
                    value += line[i];
                } else if (i + 1 < n && line[i + 1] == QLatin1Char('"')) {
                    value += QLatin1Char('"');
                    ++i;
                } else {
                    closed = true;
                    ++i;
                    break;
                }
            }
            const auto faulted = [&out](const char* fault) {
                out.faultColumn = int(out.cells.size()) + 1;
                out.fault = QLatin1String(fault);
                return out;
            };
            if (!closed) return faulted("a quote is not closed");
            skipBlanks();
            if (i < n && line[i] != QLatin1Char(',')) return faulted("text after a closing quote");
            out.cells.append(value.trimmed());
        } else {
            qsizetype end = line.indexOf(QLatin1Char(','), i);
            if (end < 0) end = n;
            out.cells.append(line.mid(i, end - i).trimmed().toString());
            i = end;
        }
        if (i >= n) return out;
        ++i; // the comma
    }
}

bool allEmpty(const QStringList& cells) {
    return std::all_of(cells.begin(), cells.end(), [](const QString& c) { return c.isEmpty(); });
}

bool isHeaderRow(const QStringList& cells) {
    const auto is = [&cells](int column, const char* word) {
        return cells.size() >= column && cells[column - 1].compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
    };
    return is(int(DefinitionColumn::ModeAndPid), "ModeAndPID") || is(int(DefinitionColumn::Equation), "Equation");
}

bool parseLimit(const QString& text, std::optional<double>* out) {
    if (text.isEmpty()) return true;
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !std::isfinite(value)) return false;
    *out = value;
    return true;
}

// A line read on its own: the parameter it defines, or why it defines none.
struct Candidate {
    ParameterDefinition definition;
    LineVerdict verdict;
};

Candidate readLine(const QStringList& cells, int line) {
    Candidate c;
    c.verdict.line = line;
    const auto reject = [&c](DefinitionColumn column, const QString& reason) {
        c.verdict.column = column;
        c.verdict.reason = reason;
        return c;
    };
    if (cells.size() < int(DefinitionColumn::Equation))
        return reject(DefinitionColumn(cells.size() + 1),
                      QStringLiteral("the line has %1 of %2 columns").arg(cells.size()).arg(kDefinitionColumns));
    for (int extra = kDefinitionColumns; extra < cells.size(); ++extra)
        if (!cells[extra].isEmpty())
            return reject(DefinitionColumn::None, QStringLiteral("column %1 holds \"%2\": a line has %3 columns")
                                                      .arg(QString::number(extra + 1), cells[extra].left(40),
                                                           QString::number(kDefinitionColumns)));
    const auto cell = [&cells](DefinitionColumn column) { return cells.value(int(column) - 1); };

    ParameterDefinition& d = c.definition;
    d.line = line;
    d.name = cell(DefinitionColumn::Name);
    d.shortName = cell(DefinitionColumn::ShortName);
    d.units = cell(DefinitionColumn::Units);
    if (d.name.isEmpty()) return reject(DefinitionColumn::Name, QStringLiteral("the parameter has no name"));

    QString error;
    const auto request = parseModeAndPid(cell(DefinitionColumn::ModeAndPid), &error);
    if (!request) return reject(DefinitionColumn::ModeAndPid, error);
    d.request = *request;

    const auto equation = Expression::parse(cell(DefinitionColumn::Equation), &error);
    if (!equation) return reject(DefinitionColumn::Equation, error);
    d.equation = *equation;
    if (d.equation.highestByte() >= longestReplyData(d.request))
        return reject(DefinitionColumn::Equation,
                      QStringLiteral("byte %1 beyond any reply").arg(byteName(d.equation.highestByte())));

    if (!parseLimit(cell(DefinitionColumn::Minimum), &d.minimum))
        return reject(DefinitionColumn::Minimum,
                      QStringLiteral("Min \"%1\" is not a number").arg(cell(DefinitionColumn::Minimum)));
    if (!parseLimit(cell(DefinitionColumn::Maximum), &d.maximum))
        return reject(DefinitionColumn::Maximum,
                      QStringLiteral("Max \"%1\" is not a number").arg(cell(DefinitionColumn::Maximum)));
    if (d.minimum && d.maximum && !(*d.minimum < *d.maximum))
        return reject(DefinitionColumn::Maximum, QStringLiteral("Max %1 is not above Min %2")
                                                     .arg(cell(DefinitionColumn::Maximum))
                                                     .arg(cell(DefinitionColumn::Minimum)));

    if (!parseHeader(cell(DefinitionColumn::Header), &d.request.header, &error))
        return reject(DefinitionColumn::Header, error);
    return c;
}

// Resolves the val{} names of the accepted candidates and rejects those whose names lead
// nowhere, to a rejected line, or round in a loop, until every accepted one stands on
// accepted ones.
void resolveReferences(QList<Candidate>& candidates) {
    QHash<QString, int> byName; // the first line of each name
    for (int i = 0; i < candidates.size(); ++i)
        if (!candidates[i].definition.name.isEmpty() && !byName.contains(candidates[i].definition.name))
            byName.insert(candidates[i].definition.name, i);

    const auto accepted = [&candidates](int i) { return candidates[i].verdict.accepted(); };
    const auto reject = [&candidates](int i, const QString& reason) {
        candidates[i].verdict.column = DefinitionColumn::Equation;
        candidates[i].verdict.reason = reason;
    };
    for (Candidate& c : candidates) {
        if (!c.verdict.accepted()) continue;
        for (const QString& name : c.definition.equation.references())
            c.definition.references.append(byName.value(name, -1));
    }

    for (bool changed = true; changed;) {
        changed = false;
        for (int i = 0; i < candidates.size(); ++i) {
            if (!accepted(i)) continue;
            const ParameterDefinition& d = candidates[i].definition;
            for (int r = 0; r < d.references.size(); ++r) {
                const QString& name = d.equation.references()[r];
                const int target = d.references[r];
                if (target < 0) {
                    reject(i, QStringLiteral("val{%1}: no parameter named %1").arg(name));
                } else if (!accepted(target)) {
                    reject(i, QStringLiteral("val{%1}: %1 on line %2 is rejected")
                                  .arg(name, QString::number(candidates[target].verdict.line)));
                } else {
                    continue;
                }
                changed = true;
                break;
            }
        }
        if (changed) continue;

        // Depth-first, without recursion: the first loop found is rejected whole.
        QList<int> state(candidates.size(), 0); // 0 unseen, 1 on the path, 2 done
        for (int root = 0; root < candidates.size() && !changed; ++root) {
            if (!accepted(root) || state[root] != 0) continue;
            QList<std::pair<int, int>> path{{root, 0}}; // node, next reference to follow
            state[root] = 1;
            while (!path.isEmpty() && !changed) {
                auto& [node, next] = path.last();
                const QList<int>& refs = candidates[node].definition.references;
                if (next == refs.size()) {
                    state[node] = 2;
                    path.removeLast();
                    continue;
                }
                const int target = refs[next++];
                if (state[target] == 0) {
                    state[target] = 1;
                    path.append({target, 0});
                } else if (state[target] == 1) {
                    QStringList loop;
                    qsizetype from = path.size() - 1;
                    while (path[from].first != target)
                        --from;
                    for (qsizetype k = from; k < path.size(); ++k)
                        loop << candidates[path[k].first].definition.name;
                    for (qsizetype k = 0; k < loop.size(); ++k) {
                        const QStringList turn = loop.mid(k) + loop.mid(0, k) + QStringList{loop[k]};
                        reject(path[from + k].first, QStringLiteral("val{} loop: ") + turn.join(QLatin1String(" -> ")));
                    }
                    changed = true;
                }
            }
        }
    }
}

} // namespace

QString columnName(DefinitionColumn column) {
    static const char* const names[] = {"",    "Name", "ShortName", "ModeAndPID", "Equation",
                                        "Min", "Max",  "Units",     "Header"};
    const int n = int(column);
    return n >= 0 && n <= kDefinitionColumns ? QLatin1String(names[n]) : QString();
}

QString ParameterRequest::text() const {
    return QStringLiteral("%1%2")
        .arg(service, 2, 16, QLatin1Char('0'))
        .arg(identifier, identifierBytes * 2, 16, QLatin1Char('0'))
        .toUpper();
}

std::optional<ParameterRequest> parseModeAndPid(const QString& text, QString* error) {
    const QString digits = withoutHexPrefix(text);
    const auto fail = [error](const QString& reason) -> std::optional<ParameterRequest> {
        *error = reason;
        return std::nullopt;
    };
    if (digits.isEmpty()) return fail(QStringLiteral("no ModeAndPID"));
    if (!isHexDigits(digits) || digits.size() % 2 != 0 || digits.size() > 8)
        return fail(QStringLiteral("ModeAndPID \"%1\" is not a service and identifier in hex").arg(text.left(20)));
    ParameterRequest request;
    request.service = digits.left(2).toInt(nullptr, 16);
    if (request.service != 0x01 && request.service != 0x21 && request.service != 0x22)
        return fail(QStringLiteral("service %1 is not read here: 01, 21 or 22").arg(digits.left(2).toUpper()));
    request.identifierBytes = request.service == 0x22 ? 2 : 1;
    if (digits.size() != 2 + 2 * request.identifierBytes)
        return fail(QStringLiteral("service %1 takes a %2-byte identifier, as in %3")
                        .arg(digits.left(2))
                        .arg(request.identifierBytes == 2 ? QLatin1String("two") : QLatin1String("one"))
                        .arg(request.service == 0x22 ? QLatin1String("220101") : digits.left(2) + QLatin1String("01")));
    request.identifier = digits.mid(2).toUInt(nullptr, 16);
    return request;
}

bool parseHeader(const QString& text, QString* header, QString* error) {
    const QString digits = withoutHexPrefix(text).toUpper();
    header->clear();
    if (text.isEmpty()) return true;
    if (!isHexDigits(digits) || (digits.size() != 3 && digits.size() != 8)) {
        *error = QStringLiteral("header \"%1\" is not 3 hex digits (11-bit) or 8 (29-bit)").arg(text.left(20));
        return false;
    }
    const quint32 id = digits.toUInt(nullptr, 16);
    if (digits.size() == 3 ? id > 0x7FF : id > 0x1FFFFFFF) {
        *error = QStringLiteral("header %1 is beyond %2 bits").arg(digits).arg(digits.size() == 3 ? 11 : 29);
        return false;
    }
    *header = digits;
    return true;
}

int longestReplyData(const ParameterRequest& request) {
    return kLongestMessage - 1 - request.identifierBytes;
}

QString LineVerdict::text() const {
    QString where = QStringLiteral("line %1").arg(line);
    if (column != DefinitionColumn::None)
        where += QStringLiteral(", column %1").arg(int(column)) +
                 (columnName(column).isEmpty() ? QString() : QStringLiteral(" (%1)").arg(columnName(column)));
    return where + QStringLiteral(": ") + (accepted() ? QStringLiteral("accepted") : reason);
}

int DefinitionFile::rejectedCount() const {
    return int(std::count_if(verdicts.begin(), verdicts.end(), [](const LineVerdict& v) { return !v.accepted(); }));
}

DefinitionFile readDefinitions(const QByteArray& contents) {
    const QString text = decoded(contents);
    QList<Candidate> candidates;
    bool first = true;
    int line = 0;
    for (const QStringView raw : linesOf(text)) {
        ++line;
        const Cells split = splitCells(raw);
        if (split.fault.isEmpty() && allEmpty(split.cells)) continue;
        const bool headerRow = first && split.fault.isEmpty() && isHeaderRow(split.cells);
        first = false;
        if (headerRow) continue;
        if (!split.fault.isEmpty()) {
            Candidate c;
            c.verdict = {line, DefinitionColumn(split.faultColumn), split.fault};
            candidates.append(c);
            continue;
        }
        candidates.append(readLine(split.cells, line));
    }

    // A second line of a name already taken could never be told apart by val{} or a channel.
    QHash<QString, int> firstLine;
    for (Candidate& c : candidates) {
        if (!c.verdict.accepted()) continue;
        const auto seen = firstLine.constFind(c.definition.name);
        if (seen == firstLine.constEnd()) {
            firstLine.insert(c.definition.name, c.verdict.line);
        } else {
            c.verdict.column = DefinitionColumn::Name;
            c.verdict.reason = QStringLiteral("a parameter named %1 is on line %2 already")
                                   .arg(c.definition.name, QString::number(*seen));
        }
    }
    resolveReferences(candidates);

    DefinitionFile file;
    QList<int> indexOf(candidates.size(), -1);
    for (int i = 0; i < candidates.size(); ++i) {
        if (!candidates[i].verdict.accepted()) continue;
        indexOf[i] = int(file.parameters.size());
        candidates[i].verdict.parameter = indexOf[i];
        file.parameters.append(candidates[i].definition);
    }
    for (ParameterDefinition& d : file.parameters)
        for (int& r : d.references)
            r = indexOf[r];
    for (const Candidate& c : candidates)
        file.verdicts.append(c.verdict);
    return file;
}

bool loadDefinitionFile(const QString& path, DefinitionFile* file, QString* error) {
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly)) {
        *error = in.errorString();
        return false;
    }
    *file = readDefinitions(in.readAll());
    return true;
}

} // namespace zelcor
