#include "app/import/ImportLine.h"

#include "app/import/ImportContext.h"
#include "app/import/MainWindowView.h"

#include "platform/basic/Conversions.h"
#include "platform/basic/RuntimeError.h"
#include "platform/basic/Strings.h"
#include "platform/settings/SettingsStore.h"

#include <algorithm>
#include <vector>

namespace importer {

namespace {

int16_t columnNumber(const QString& digits)
{
    const int16_t number = basic::CInt(basic::Variant(digits));
    if (number < 0 || number > MaxColumns)
        throw basic::RuntimeError(basic::err::SubscriptOutOfRange);
    return number;
}

// The grouping columns of GroupSpec. Every line of both passes asks with the same
// GroupSpec: the columns of the last one asked are kept.
const std::vector<int16_t>& groupColumns(const QString& groupSpec)
{
    static QString lastSpec;
    static std::vector<int16_t> lastColumns;
    if (lastColumns.empty() || groupSpec != lastSpec) {
        std::vector<int16_t> columns;
        QString digits;
        for (const QChar c : groupSpec) {
            if (c == QLatin1Char('+')) {
                columns.push_back(columnNumber(digits));
                digits.clear();
            } else {
                digits += c;
            }
        }
        columns.push_back(columnNumber(digits));
        lastColumns = std::move(columns);
        lastSpec = groupSpec;
    }
    return lastColumns;
}

} // namespace

void splitImportLine(const QString& line, LineFieldArray& fields)
{
    fields[0].clear();
    size_t index = 1;
    qsizetype start = 0;
    const qsizetype n = line.size();
    const bool quotes = line.contains(QLatin1Char('"'));
    for (qsizetype i = 0; i <= n && index <= size_t(MaxColumns); ++i) {
        if (i == n || line.at(i) == QLatin1Char(',')) {
            const QStringView raw = QStringView(line).mid(start, i - start);
            if (quotes && raw.contains(QLatin1Char('"'))) {
                QString field = raw.toString();
                field.remove(QLatin1Char('"'));
                fields[index] = basic::Trim(field);
            } else {
                // Most fields hold no quotes: trimmed in place and copied once, into
                // the text the field held on the line before when no one shares it.
                qsizetype from = 0;
                qsizetype to = raw.size();
                while (from < to && raw.at(from) == QLatin1Char(' '))
                    ++from;
                while (to > from && raw.at(to - 1) == QLatin1Char(' '))
                    --to;
                QString& field = fields[index];
                if (to > from) {
                    field.resize(to - from);
                    std::copy_n(raw.data() + from, to - from, field.data());
                } else {
                    field.clear();
                }
            }
            ++index;
            start = i + 1;
        }
    }
    for (; index < fields.size(); ++index)
        fields[index].clear();
}

int32_t countCommas(const QString& line)
{
    return int32_t(line.count(QLatin1Char(',')));
}

bool headingLineSkipped()
{
    return basic::Val(settings::readSetting(QStringLiteral("ImportHeaders"), QStringLiteral("0"))) == 1;
}

std::unique_ptr<basic::SequentialFile> openImportFile(const QString& path, bool refuseLinks)
{
    auto file = std::make_unique<basic::SequentialFile>();
    file->open(path, basic::OpenMode::Input, refuseLinks ? basic::Links::Refuse : basic::Links::Follow);
    file->setLineLimit(MaxImportLineLength);
    file->skipByteOrderMark();
    return file;
}

bool importFileIsEmpty(const QString& path)
{
    constexpr int64_t ByteOrderMarkSize = 3;
    const int64_t size = basic::FileLen(path);
    return size == 0 || (size == ByteOrderMarkSize && openImportFile(path)->eof());
}

void ReadImportLine(ImportContext& context)
{
    auto& line = context.state.line;
    context.mainWindow.setLblStatus(QStringLiteral("Stage One - Reading Data. "));
    if (!line.ImportFile || !line.ImportFile->isOpen())
        throw basic::RuntimeError(basic::err::BadFileNameOrNumber);
    const QString text = line.ImportFile->lineInput();
    context.mainWindow.setTxtCurrentLine(QString());
    splitImportLine(text, line.LineFields);
    context.mainWindow.setTxtCurrentLine(text);
}

void BuildGroupKey(ImportContext& context, QString& key)
{
    key.clear();
    AppendGroupKey(context, key);
}

void AppendGroupKey(ImportContext& context, QString& key)
{
    const auto& line = context.state.line;
    for (const int16_t column : groupColumns(context.state.layout.GroupSpec))
        key += line.field(column);
}

QString groupCompareKey(ImportContext& context)
{
    const auto& line = context.state.line;
    QString key;
    bool first = true;
    for (const int16_t column : groupColumns(context.state.layout.GroupSpec)) {
        if (!first)
            key += QLatin1Char(',');
        first = false;
        key += line.field(column);
    }
    return key;
}

} // namespace importer
