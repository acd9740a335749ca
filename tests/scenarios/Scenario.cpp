#include "tests/scenarios/Scenario.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>

#include <algorithm>

namespace scenarios {

namespace {

QString nameIn(const QString& folder, const QString& name)
{
    return QDir(folder).filePath(name);
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw ScenarioError(QStringLiteral("%1: cannot be read (%2)").arg(path, f.errorString()));
    return f.readAll();
}

// Refuses bytes that are not UTF-8 (a byte order mark is allowed).
void checkUtf8(const QByteArray& bytes, const QString& path)
{
    const QByteArray body = bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes;
    if (QString::fromUtf8(body).toUtf8() != body)
        throw ScenarioError(QStringLiteral("%1: not UTF-8 text").arg(path));
}

// `"text"` keeps the blanks inside the quotes; anything else is taken trimmed.
QString iniValue(const QString& raw)
{
    const QString value = raw.trimmed();
    if (value.size() >= 2 && value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"')))
        return value.mid(1, value.size() - 2);
    return value;
}

// The keys of [batch] and what they hold (README.md).
void readBatch(const Entries& entries, const QString& path, Scenario& scenario)
{
    BatchRun batchRun;
    bool hasNow = false;
    for (const auto& [key, value] : entries) {
        const QString where = QStringLiteral("%1: [batch] %2").arg(path, key);
        const auto is = [&](const char* name) {
            return key.compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
        };
        if (is("now")) {
            batchRun.now = QDateTime::fromString(value, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
            if (!batchRun.now.isValid())
                throw ScenarioError(QStringLiteral("%1: \"%2\" is not a date and time YYYY-MM-DD hh:mm:ss")
                                        .arg(where, value));
            hasNow = true;
        } else if (is("passes")) {
            bool ok = false;
            batchRun.passes = value.toInt(&ok);
            if (!ok || batchRun.passes < 1)
                throw ScenarioError(QStringLiteral("%1: \"%2\" is not a number of passes").arg(where, value));
        } else if (is("source") || is("success") || is("error")) {
            if (value.isEmpty() || value.contains(QLatin1Char('/')) || value.contains(QLatin1Char('\\')))
                throw ScenarioError(
                    QStringLiteral("%1: a folder name of the scenario, not \"%2\"").arg(where, value));
            (is("source") ? batchRun.source : is("success") ? batchRun.success : batchRun.error) = value;
        } else if (is("vanish")) {
            for (const QString& name : value.split(QLatin1Char(','), Qt::SkipEmptyParts))
                batchRun.vanish << name.trimmed();
        } else {
            throw ScenarioError(
                QStringLiteral("%1: not a key of [batch] (now, passes, source, success, error, vanish)")
                    .arg(where));
        }
    }
    if (!hasNow)
        throw ScenarioError(QStringLiteral("%1: [batch] needs \"now\"").arg(path));
    scenario.batch = batchRun;
}

void readIni(const QString& path, Scenario& scenario)
{
    Entries batchEntries;
    bool batchGiven = false;
    const QByteArray bytes = readAll(path);
    checkUtf8(bytes, path);
    const QStringList lines = textLines(bytes);
    Entries* section = nullptr;
    QString sectionName;
    std::vector<const Entries*> seen;
    for (int i = 0; i < lines.size(); ++i) {
        const QString where = QStringLiteral("%1 line %2").arg(path).arg(i + 1);
        const QString line = lines.at(i).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            if (!line.endsWith(QLatin1Char(']')))
                throw ScenarioError(QStringLiteral("%1: a section line must read [name]").arg(where));
            sectionName = line.mid(1, line.size() - 2).trimmed();
            Entries* next = nullptr;
            if (sectionName.compare(QLatin1String("settings"), Qt::CaseInsensitive) == 0)
                next = &scenario.settings;
            else if (sectionName.compare(QLatin1String("form"), Qt::CaseInsensitive) == 0)
                next = &scenario.form;
            else if (sectionName.compare(QLatin1String("batch"), Qt::CaseInsensitive) == 0) {
                next = &batchEntries;
                batchGiven = true;
            } else
                throw ScenarioError(
                    QStringLiteral("%1: unknown section [%2] (there are [settings], [form] and [batch])")
                        .arg(where, sectionName));
            // A section given twice would let a later key quietly win.
            if (std::find(seen.begin(), seen.end(), next) != seen.end())
                throw ScenarioError(QStringLiteral("%1: section [%2] given twice").arg(where, sectionName));
            seen.push_back(next);
            section = next;
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals < 0)
            throw ScenarioError(
                QStringLiteral("%1: expected \"key = value\", found \"%2\"").arg(where, line));
        if (!section)
            throw ScenarioError(QStringLiteral("%1: \"%2\" stands before any section").arg(where, line));
        QString key = line.left(equals).trimmed();
        const QString value = iniValue(line.mid(equals + 1));
        if (key.isEmpty())
            throw ScenarioError(QStringLiteral("%1: a key is missing before \"=\"").arg(where));
        for (const auto& [given, unused] : *section) {
            if (given.compare(key, Qt::CaseInsensitive) == 0)
                throw ScenarioError(
                    QStringLiteral("%1: \"%2\" given twice in [%3]").arg(where, key, sectionName));
        }
        if (section == &scenario.form) {
            const QString box = formBox(key);
            if (box.isEmpty())
                throw ScenarioError(
                    QStringLiteral("%1: \"%2\" is not a settings-form box the import reads (%3)")
                        .arg(where, key, formBoxes().join(QStringLiteral(", "))));
            if (isCheckBox(box) && value != QLatin1String("0") && value != QLatin1String("1") &&
                value != QLatin1String("2"))
                throw ScenarioError(QStringLiteral("%1: the check box %2 takes 0, 1 or 2, not \"%3\"")
                                        .arg(where, box, value));
            key = box;
        }
        section->emplace_back(key, value);
    }
    if (batchGiven)
        readBatch(batchEntries, path, scenario);
}

QJsonObject readSeed(const QString& path)
{
    if (!QFileInfo::exists(path))
        throw ScenarioError(QStringLiteral("%1: missing; every scenario names its company").arg(path));
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(readAll(path), &error);
    if (error.error != QJsonParseError::NoError)
        throw ScenarioError(
            QStringLiteral("%1: %2 at offset %3").arg(path, error.errorString()).arg(error.offset));
    if (!doc.isObject())
        throw ScenarioError(QStringLiteral("%1: the seed must be one JSON object").arg(path));
    if (!doc.object().value(QStringLiteral("version")).isString())
        throw ScenarioError(QStringLiteral("%1: \"version\" must be a text such as \"23.0\"").arg(path));
    return doc.object();
}

std::vector<forms::Answer> readAnswers(const QString& path)
{
    std::vector<forms::Answer> answers;
    if (!QFileInfo::exists(path))
        return answers;
    const QStringList lines = textLines(readAll(path));
    for (int i = 0; i < lines.size(); ++i) {
        const QString name = lines.at(i).trimmed();
        if (name.isEmpty())
            continue;
        const std::optional<forms::Answer> answer = forms::answerFromName(name);
        if (!answer)
            throw ScenarioError(QStringLiteral("%1 line %2: \"%3\" is not an answer (Yes, No, OK, Cancel, "
                                               "Abort, Retry, Ignore)")
                                    .arg(path)
                                    .arg(i + 1)
                                    .arg(name));
        answers.push_back(*answer);
    }
    return answers;
}

void checkFields(const QJsonObject& object, const QString& path, const QString& where, bool itemsAllowed)
{
    for (auto it = object.begin(); it != object.end(); ++it) {
        if (itemsAllowed && it.key().compare(QLatin1String("items"), Qt::CaseInsensitive) == 0) {
            if (!it.value().isArray())
                throw ScenarioError(QStringLiteral("%1: \"items\" of %2 must be an array").arg(path, where));
            const QJsonArray items = it.value().toArray();
            for (int n = 0; n < items.size(); ++n) {
                const QString itemWhere = QStringLiteral("%1 item %2").arg(where).arg(n + 1);
                if (!items.at(n).isObject())
                    throw ScenarioError(QStringLiteral("%1: %2 must be an object").arg(path, itemWhere));
                checkFields(items.at(n).toObject(), path, itemWhere, false);
            }
            continue;
        }
        if (it.value().isArray() || it.value().isObject())
            throw ScenarioError(
                QStringLiteral("%1: field \"%2\" of %3 must be a number, text, true, false or "
                               "null")
                    .arg(path, it.key(), where));
    }
}

QJsonArray readPosted(const QString& path)
{
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(readAll(path), &error);
    if (error.error != QJsonParseError::NoError)
        throw ScenarioError(
            QStringLiteral("%1: %2 at offset %3").arg(path, error.errorString()).arg(error.offset));
    if (!doc.isArray())
        throw ScenarioError(QStringLiteral("%1: must be a JSON array of documents").arg(path));
    const QJsonArray documents = doc.array();
    for (int i = 0; i < documents.size(); ++i) {
        const QString where = QStringLiteral("document %1").arg(i + 1);
        if (!documents.at(i).isObject())
            throw ScenarioError(QStringLiteral("%1: %2 must be an object").arg(path, where));
        checkFields(documents.at(i).toObject(), path, where, true);
    }
    return documents;
}

void readExpected(const QString& folder, Scenario& scenario)
{
    if (!QFileInfo(folder).isDir())
        return;
    // A batch run checks its folders and error files; log and error list belong to one import.
    const QStringList known =
        scenario.batch ? QStringList{QLatin1String(file::Messages), QLatin1String(file::Posted),
                                     QLatin1String(file::BatchFiles), QLatin1String(file::ErrorFiles)}
                       : QStringList{QLatin1String(file::Log), QLatin1String(file::Errors),
                                     QLatin1String(file::Messages), QLatin1String(file::Posted)};
    const QFileInfoList entries =
        QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& entry : entries) {
        const bool folderOfErrorFiles = entry.fileName() == QLatin1String(file::ErrorFiles);
        if (!known.contains(entry.fileName()) || entry.isDir() != folderOfErrorFiles)
            throw ScenarioError(QStringLiteral("%1: not a file the runner checks (%2)")
                                    .arg(entry.filePath(), known.join(QStringLiteral(", "))));
    }
    const QString errorFiles = nameIn(folder, QLatin1String(file::ErrorFiles));
    for (const QFileInfo& entry :
         QDir(errorFiles).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)) {
        if (!entry.isFile())
            throw ScenarioError(QStringLiteral("%1: only error files belong here").arg(entry.filePath()));
        scenario.errorFiles[entry.fileName()] = readAll(entry.filePath());
    }
    const auto lines = [&](const char* name) -> std::optional<QStringList> {
        const QString path = nameIn(folder, QLatin1String(name));
        if (!QFileInfo::exists(path))
            return std::nullopt;
        const QByteArray bytes = readAll(path);
        checkUtf8(bytes, path);
        return textLines(bytes);
    };
    scenario.log = lines(file::Log);
    scenario.errors = lines(file::Errors);
    scenario.messages = lines(file::Messages);
    scenario.batchFiles = lines(file::BatchFiles);
    const QString posted = nameIn(folder, QLatin1String(file::Posted));
    if (QFileInfo::exists(posted))
        scenario.posted = readPosted(posted);
}

} // namespace

const QStringList& formBoxes()
{
    static const QStringList boxes = {
        QStringLiteral("txtUserName"),
        QStringLiteral("txtPassword"),
        QStringLiteral("CbxCustomerPricing"),
        QStringLiteral("Cbxoverridevorlenproductdescription"),
        QStringLiteral("Cbxtakevorlenpriceifpricezero"),
        QStringLiteral("TxtDatapath"),
        QStringLiteral("TxtHiddenVersion"),
        QStringLiteral("txthiddencompanyname"),
    };
    return boxes;
}

QString formBox(const QString& name)
{
    for (const QString& box : formBoxes()) {
        if (box.compare(name, Qt::CaseInsensitive) == 0)
            return box;
    }
    return {};
}

bool isCheckBox(const QString& box)
{
    return box.startsWith(QLatin1String("Cbx"));
}

QStringList textLines(const QByteArray& bytes)
{
    QString text = QString::fromUtf8(bytes);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QStringList lines = text.split(QLatin1Char('\n'));
    // The line end of the last line is not a further, empty line.
    if (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast();
    return lines;
}

Scenario loadScenario(const QString& folder)
{
    Scenario scenario;
    scenario.folder = folder;
    readIni(nameIn(folder, QLatin1String(file::Ini)), scenario);
    scenario.seed = readSeed(nameIn(folder, QLatin1String(file::Seed)));
    scenario.answers = readAnswers(nameIn(folder, QLatin1String(file::Answers)));
    readExpected(nameIn(folder, QLatin1String(file::Expected)), scenario);
    return scenario;
}

} // namespace scenarios
