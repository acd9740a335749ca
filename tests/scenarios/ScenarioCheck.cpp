#include "tests/scenarios/ScenarioCheck.h"

#include <QJsonObject>
#include <QJsonValue>

#include <cmath>
#include <vector>

namespace scenarios {

namespace {

// Longer diffs are cut: the first differences say what went wrong.
constexpr int MaxDiffLines = 40;
// Beyond this many line pairs the diff falls back to comparing line by line.
constexpr qsizetype MaxDiffCells = 4'000'000;
constexpr double Cent = 0.005;

// A line as shown in a difference: quoted, with tabs and line ends made visible.
QString shown(const QString& line)
{
    QString out;
    for (const QChar c : line) {
        if (c == QLatin1Char('\t'))
            out += QLatin1String("\\t");
        else if (c == QLatin1Char('\r'))
            out += QLatin1String("\\r");
        else if (c == QLatin1Char('\n'))
            out += QLatin1String("\\n");
        else if (c.unicode() < 0x20)
            out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return QLatin1Char('"') + out + QLatin1Char('"');
}

struct DiffLine
{
    QChar mark; // '-' expected only, '+' actual only
    int number; // 1-based, in its own file
    QString text;
};

std::vector<DiffLine> diff(const QStringList& expected, const QStringList& actual)
{
    const qsizetype n = expected.size(), m = actual.size();
    std::vector<DiffLine> out;
    if ((n + 1) * (m + 1) > MaxDiffCells) {
        for (qsizetype i = 0; i < std::max(n, m); ++i) {
            if (i < n && i < m && expected.at(i) == actual.at(i))
                continue;
            if (i < n)
                out.push_back({QLatin1Char('-'), int(i + 1), expected.at(i)});
            if (i < m)
                out.push_back({QLatin1Char('+'), int(i + 1), actual.at(i)});
        }
        return out;
    }
    // Longest common subsequence from the end, so the walk below goes forward.
    std::vector<int> lcs(size_t((n + 1) * (m + 1)), 0);
    const auto at = [&](qsizetype i, qsizetype j) -> int& { return lcs[size_t(i * (m + 1) + j)]; };
    for (qsizetype i = n - 1; i >= 0; --i)
        for (qsizetype j = m - 1; j >= 0; --j)
            at(i, j) =
                expected.at(i) == actual.at(j) ? at(i + 1, j + 1) + 1 : std::max(at(i + 1, j), at(i, j + 1));
    qsizetype i = 0, j = 0;
    while (i < n || j < m) {
        if (i < n && j < m && expected.at(i) == actual.at(j)) {
            ++i;
            ++j;
        } else if (i < n && (j == m || at(i + 1, j) >= at(i, j + 1))) {
            out.push_back({QLatin1Char('-'), int(i + 1), expected.at(i)});
            ++i;
        } else {
            out.push_back({QLatin1Char('+'), int(j + 1), actual.at(j)});
            ++j;
        }
    }
    return out;
}

QString describe(const QJsonValue& v)
{
    switch (v.type()) {
    case QJsonValue::Null:
        return QStringLiteral("null");
    case QJsonValue::Bool:
        return v.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case QJsonValue::Double:
        return QString::number(v.toDouble(), 'g', 15);
    case QJsonValue::String:
        return shown(v.toString()) + QStringLiteral(" (text)");
    case QJsonValue::Undefined:
        return QStringLiteral("(no such field)");
    default:
        return QStringLiteral("(a JSON array or object)");
    }
}

bool sameValue(const QJsonValue& expected, const QJsonValue& actual)
{
    if (expected.type() != actual.type())
        return false;
    if (expected.isDouble())
        return std::fabs(expected.toDouble() - actual.toDouble()) < Cent;
    return expected == actual;
}

QJsonValue field(const QJsonObject& object, const QString& name)
{
    for (auto it = object.begin(); it != object.end(); ++it) {
        if (it.key().compare(name, Qt::CaseInsensitive) == 0)
            return it.value();
    }
    return QJsonValue(QJsonValue::Undefined);
}

// "invoice 8 for ACME01", from the listing's own fields, to tell documents apart.
QString label(const QJsonObject& document)
{
    const QString kind = field(document, QStringLiteral("DOCUMENT_KIND")).toString();
    const QJsonValue number =
        field(document, kind == QLatin1String("order") ? QStringLiteral("ORDER_NUMBER")
                                                       : QStringLiteral("INVOICE_NUMBER"));
    return QStringLiteral("%1 %2 for %3")
        .arg(kind.isEmpty() ? QStringLiteral("document") : kind,
             number.isDouble() ? QString::number(number.toDouble(), 'g', 15) : number.toString(),
             field(document, QStringLiteral("ACCOUNT_REF")).toString());
}

void compareFields(const QJsonObject& expected, const QJsonObject& actual, const QString& where,
                   QStringList& out)
{
    for (auto it = expected.begin(); it != expected.end(); ++it) {
        if (it.key().compare(QLatin1String("items"), Qt::CaseInsensitive) == 0)
            continue;
        const QJsonValue found = field(actual, it.key());
        if (!sameValue(it.value(), found))
            out << QStringLiteral("posted.json: %1, field %2: expected %3, found %4")
                       .arg(where, it.key(), describe(it.value()), describe(found));
    }
}

} // namespace

QStringList compareLines(const QString& fileName, const QStringList& expected, const QStringList& actual)
{
    const std::vector<DiffLine> lines = diff(expected, actual);
    if (lines.empty())
        return {};
    QString text =
        QStringLiteral("%1 differs (%2 line(s) expected, %3 found; - expected only, + actual only):")
            .arg(fileName)
            .arg(expected.size())
            .arg(actual.size());
    for (size_t k = 0; k < lines.size() && k < size_t(MaxDiffLines); ++k)
        text += QStringLiteral("\n    %1 %2: %3")
                    .arg(lines[k].mark)
                    .arg(lines[k].number, 3)
                    .arg(shown(lines[k].text));
    if (lines.size() > size_t(MaxDiffLines))
        text += QStringLiteral("\n    ... and %1 more").arg(lines.size() - size_t(MaxDiffLines));
    return {text};
}

QStringList logLines(const QString& log, QStringList& problems)
{
    QStringList lines = log.split(QLatin1String("\r\n"));
    if (lines.constLast().isEmpty())
        lines.removeLast();
    else
        problems << QStringLiteral("log.txt: the import log's last line %1 has no CR LF at its end")
                        .arg(shown(lines.constLast()));
    return lines;
}

QString messageLine(const QString& title, const QString& text)
{
    QString escaped = text;
    escaped.replace(QLatin1Char('\r'), QLatin1String("\\r"));
    escaped.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    return title + QLatin1Char('\t') + escaped;
}

QString errorLine(int number, const QString& row, const QString& column, const QString& message,
                  const QString& value)
{
    const QStringList cells = {QString::number(number), row, column, message, value};
    return QLatin1Char('"') + cells.join(QLatin1String("\",\"")) + QLatin1Char('"');
}

QStringList comparePosted(const QJsonArray& expected, const QJsonArray& actual)
{
    QStringList out;
    if (expected.size() != actual.size()) {
        QStringList labels;
        for (const QJsonValue& document : actual)
            labels << label(document.toObject());
        out << QStringLiteral("posted.json: %1 document(s) expected, %2 posted by the import%3")
                   .arg(expected.size())
                   .arg(actual.size())
                   .arg(labels.isEmpty() ? QString()
                                         : QStringLiteral(": ") + labels.join(QStringLiteral(", ")));
    }
    for (qsizetype i = 0; i < std::min(expected.size(), actual.size()); ++i) {
        const QJsonObject want = expected.at(i).toObject();
        const QJsonObject got = actual.at(i).toObject();
        const QString where = QStringLiteral("document %1 (%2)").arg(i + 1).arg(label(got));
        compareFields(want, got, where, out);
        const QJsonValue wantItems = field(want, QStringLiteral("items"));
        if (wantItems.isUndefined())
            continue;
        const QJsonArray items = wantItems.toArray();
        const QJsonArray gotItems = field(got, QStringLiteral("items")).toArray();
        if (items.size() != gotItems.size())
            out << QStringLiteral("posted.json: %1: %2 item(s) expected, %3 posted")
                       .arg(where)
                       .arg(items.size())
                       .arg(gotItems.size());
        for (qsizetype n = 0; n < std::min(items.size(), gotItems.size()); ++n)
            compareFields(items.at(n).toObject(), gotItems.at(n).toObject(),
                          QStringLiteral("%1 item %2").arg(where).arg(n + 1), out);
    }
    return out;
}

QStringList compareErrorFiles(const std::map<QString, QByteArray>& expected,
                              const std::map<QString, QByteArray>& errorFolder)
{
    QStringList differences;
    for (const auto& [name, bytes] : expected) {
        const QString where = QStringLiteral("errorfiles/") + name;
        const auto found = errorFolder.find(name);
        if (found == errorFolder.end()) {
            differences << where + QStringLiteral(": no such file in the error folder");
            continue;
        }
        if (found->second == bytes)
            continue;
        // Lines with their ends, so that a missing CR LF shows.
        const QList<QByteArray> want = bytes.split('\n');
        const QList<QByteArray> got = found->second.split('\n');
        qsizetype line = 0;
        while (line < want.size() && line < got.size() && want[line] == got[line])
            ++line;
        const auto shown = [](const QList<QByteArray>& lines, qsizetype i) {
            return i < lines.size() ? QStringLiteral("\"%1\"").arg(QString::fromUtf8(lines[i]).replace(
                                          QLatin1Char('\r'), QLatin1String("\\r")))
                                    : QStringLiteral("(nothing)");
        };
        differences << QStringLiteral("%1 differs at line %2: expected %3, found %4")
                           .arg(where)
                           .arg(line + 1)
                           .arg(shown(want, line), shown(got, line));
    }
    return differences;
}

} // namespace scenarios
