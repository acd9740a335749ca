#include "app/mainwindow/batch/BatchStatus.h"

#include "app/mainwindow/batch/BatchServices.h"
#include "app/mainwindow/batch/FiledNames.h"

#include "platform/basic/Dates.h"
#include "platform/shell/FileSystem.h"

#include <QHash>
#include <QSet>

#include <algorithm>

namespace batch {

void StatusRows::setRow(int index, const StatusRow& row)
{
    rows.at(size_t(index)) = row;
    ++changes;
}

void StatusRows::removeRow(int index)
{
    rows.erase(rows.begin() + index);
    ++changes;
}

void StatusRows::appendRow(const StatusRow& row)
{
    rows.push_back(row);
    ++changes;
}

void StatusRows::clear()
{
    rows.clear();
    ++changes;
}

const std::vector<QString>& statusColumns()
{
    static const std::vector<QString> columns = {QStringLiteral("File Name"), QStringLiteral("Status"),
                                                 QStringLiteral("DateCreated"), QStringLiteral("File Path")};
    return columns;
}

namespace {

// The creation date as the list shows it, in local time. The texts are kept: every
// scan shows the same files again, and each conversion to local time costs the C
// library a look at the zone file.
QString dateText(const QDateTime& created)
{
    if (!created.isValid())
        return QString();
    static QHash<qint64, QString> texts;
    const qint64 at = created.toMSecsSinceEpoch();
    const auto known = texts.constFind(at);
    if (known != texts.constEnd())
        return *known;
    if (texts.size() > 100000)
        texts.clear();
    return *texts.insert(at, basic::formatDate(basic::fromQDateTime(created.toLocalTime())));
}

// A companion's marker counts from the name's second character on.
bool isCompanion(const QString& name)
{
    return name.indexOf(QLatin1String("_RowsNotLoaded"), 1) >= 1 ||
           name.indexOf(QLatin1String("_ERRORLOG"), 1) >= 1;
}

class Entries
{
public:
    void add(const QString& name, const QString& path, const QString& date, const char* state)
    {
        if (m_paths.contains(path))
            return; // the first entry of a path wins
        m_paths.insert(path);
        m_rows.push_back(StatusRow{name, QLatin1String(state), date, path});
    }
    std::vector<StatusRow> take() { return std::move(m_rows); }

private:
    QSet<QString> m_paths;
    std::vector<StatusRow> m_rows;
};

} // namespace

std::vector<StatusRow> deriveBatchStatus(BatchFileSystem& files, const QString& successFolder,
                                         const QString& errorFolder, const QString& sourceFolder,
                                         const std::vector<shell::FileEntry>* sourceFiles)
{
    Entries entries;
    for (const shell::FileEntry& f : files.listFiles(successFolder))
        entries.add(f.name, joinPath(successFolder, f.name), dateText(f.created), status::Loaded);

    const std::vector<shell::FileEntry> errorFiles = files.listFiles(errorFolder);
    QSet<QString> names; // the error folder's names in lower case, for a case-blind pairing
    names.reserve(qsizetype(errorFiles.size()));
    for (const shell::FileEntry& f : errorFiles)
        names.insert(f.name.toLower());
    for (const shell::FileEntry& f : errorFiles) {
        if (isCompanion(f.name))
            continue;
        const QString base = baseOfName(f.name);
        const QString date = dateText(f.created);
        const QString shown = joinPath(errorFolder, base);
        if (names.contains((base + QStringLiteral("_RowsNotLoaded.csv")).toLower()))
            entries.add(f.name, shown + QStringLiteral("_RowsNotLoaded.CSV"), date, status::PartiallyLoaded);
        else if (names.contains((base + QStringLiteral("_ERRORLOG.csv")).toLower()))
            entries.add(f.name, shown + QStringLiteral("_ERRORLOG.CSV"), date, status::ErrorsFound);
        else
            entries.add(f.name, joinPath(errorFolder, f.name), date, status::ErrorsFound);
    }

    const std::vector<shell::FileEntry> read =
        sourceFiles ? std::vector<shell::FileEntry>() : files.listFiles(sourceFolder);
    for (const shell::FileEntry& f : sourceFiles ? *sourceFiles : read)
        entries.add(f.name, joinPath(sourceFolder, f.name), dateText(f.created), status::Pending);
    return entries.take();
}

void reconcileBatchStatus(StatusListView& list, std::vector<StatusRow> entries)
{
    if (list.rowCount() == 0) {
        for (const StatusRow& entry : entries)
            list.appendRow(entry);
        return;
    }
    // Entries by path (each path once); those a row takes are marked.
    QHash<QString, size_t> byPath;
    byPath.reserve(qsizetype(entries.size()));
    for (size_t i = 0; i < entries.size(); ++i)
        byPath.insert(entries[i].path, i);
    std::vector<bool> taken(entries.size(), false);
    std::vector<bool> emptied(size_t(list.rowCount()), false); // rows whose text is empty now
    for (int i = list.rowCount() - 1; i >= 0; --i) {
        StatusRow row = list.row(i);
        const auto found = byPath.constFind(row.path);
        emptied[size_t(i)] = row.name.isEmpty();
        if (found == byPath.constEnd() || taken[*found]) {
            list.setRow(i, StatusRow{});
            emptied[size_t(i)] = true;
            continue;
        }
        const StatusRow& entry = entries[*found];
        if (row.state != entry.state || row.date != entry.date) {
            row.state = entry.state;
            row.date = entry.date;
            list.setRow(i, row);
        }
        taken[*found] = true;
    }
    for (int i = list.rowCount() - 1; i >= 0; --i) {
        if (emptied[size_t(i)])
            list.removeRow(i);
    }
    for (size_t i = 0; i < entries.size(); ++i) {
        if (!taken[i])
            list.appendRow(entries[i]);
    }
}

void RefreshBatchStatus(StatusListView& list, BatchFileSystem& files, const QString& successFolder,
                        const QString& errorFolder, const QString& sourceFolder,
                        const std::vector<shell::FileEntry>* sourceFiles)
{
    reconcileBatchStatus(list,
                         deriveBatchStatus(files, successFolder, errorFolder, sourceFolder, sourceFiles));
}

void ListViewBatchStatus_ColumnClick(StatusListView& list, int columnIndex)
{
    list.setSortKey(columnIndex - 1);
}

} // namespace batch
