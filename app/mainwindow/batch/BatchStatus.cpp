#include "app/mainwindow/batch/BatchStatus.h"

#include "app/mainwindow/batch/BatchServices.h"

#include "platform/basic/Dates.h"
#include "platform/shell/FileSystem.h"

#include <algorithm>
#include <set>

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

QString dateText(const QDateTime& created)
{
    return created.isValid() ? basic::formatDate(basic::fromQDateTime(created)) : QString();
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
        if (!m_paths.insert(path).second)
            return; // the first entry of a path wins
        m_rows.push_back(StatusRow{name, QLatin1String(state), date, path});
    }
    std::vector<StatusRow> take() { return std::move(m_rows); }

private:
    std::set<QString> m_paths;
    std::vector<StatusRow> m_rows;
};

} // namespace

std::vector<StatusRow> deriveBatchStatus(BatchFileSystem& files, const QString& successFolder,
                                         const QString& errorFolder, const QString& sourceFolder)
{
    Entries entries;
    for (const shell::FileEntry& f : files.listFiles(successFolder))
        entries.add(f.name, joinPath(successFolder, f.name), dateText(f.created), status::Loaded);

    for (const shell::FileEntry& f : files.listFiles(errorFolder)) {
        if (isCompanion(f.name))
            continue;
        const QString base = joinPath(errorFolder, shell::baseName(f.name));
        const QString date = dateText(f.created);
        if (files.fileExists(base + QStringLiteral("_RowsNotLoaded.csv")))
            entries.add(f.name, base + QStringLiteral("_RowsNotLoaded.CSV"), date, status::PartiallyLoaded);
        else if (files.fileExists(base + QStringLiteral("_ERRORLOG.csv")))
            entries.add(f.name, base + QStringLiteral("_ERRORLOG.CSV"), date, status::ErrorsFound);
        else
            entries.add(f.name, joinPath(errorFolder, f.name), date, status::ErrorsFound);
    }

    for (const shell::FileEntry& f : files.listFiles(sourceFolder))
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
    const auto find = [&](const QString& path) {
        return std::find_if(entries.begin(), entries.end(),
                            [&](const StatusRow& e) { return e.path == path; });
    };
    for (int i = list.rowCount() - 1; i >= 0; --i) {
        StatusRow row = list.row(i);
        const auto entry = find(row.path);
        if (entry == entries.end()) {
            list.setRow(i, StatusRow{});
            continue;
        }
        if (row.state != entry->state || row.date != entry->date) {
            row.state = entry->state;
            row.date = entry->date;
            list.setRow(i, row);
        }
        entries.erase(entry);
    }
    for (int i = list.rowCount() - 1; i >= 0; --i) {
        if (list.row(i).name.isEmpty())
            list.removeRow(i);
    }
    for (const StatusRow& entry : entries)
        list.appendRow(entry);
}

void RefreshBatchStatus(StatusListView& list, BatchFileSystem& files, const QString& successFolder,
                        const QString& errorFolder, const QString& sourceFolder)
{
    reconcileBatchStatus(list, deriveBatchStatus(files, successFolder, errorFolder, sourceFolder));
}

void ListViewBatchStatus_ColumnClick(StatusListView& list, int columnIndex)
{
    list.setSortKey(columnIndex - 1);
}

} // namespace batch
