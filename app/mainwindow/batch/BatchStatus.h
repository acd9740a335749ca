#pragma once

#include <QString>

#include <memory>
#include <vector>

namespace shell {
struct FileEntry;
}

// The batch status list (ListViewBatchStatus): one row per batch file, its state
// derived from the folder it lies in and the companion files beside it. The
// window shows the rows; the logic here decides them.
namespace batch {

class BatchFileSystem;

// The states, as the list shows them.
namespace status {
inline constexpr const char* Loaded = "Loaded";
inline constexpr const char* PartiallyLoaded = "Partially Loaded";
inline constexpr const char* ErrorsFound = "Error(s) Found";
inline constexpr const char* Pending = "Pending";
} // namespace status

// One entry of the derived set, and one row of the list: the row's text is the
// file name, its sub-items 1 to 3 the state, the creation date and the shown path.
struct StatusRow
{
    QString name;
    QString state;
    QString date;
    QString path; // the row's key

    bool operator==(const StatusRow&) const = default;
};

// The list as the refresh changes it; rows are numbered from 0.
class StatusListView
{
public:
    virtual ~StatusListView() = default;
    virtual int rowCount() const = 0;
    virtual StatusRow row(int index) const = 0;
    virtual void setRow(int index, const StatusRow& row) = 0;
    virtual void removeRow(int index) = 0;
    virtual void appendRow(const StatusRow& row) = 0;
    virtual void clear() = 0;
    // The column the list sorts by: 0 "File Name" to 3 "File Path".
    virtual void setSortKey(int key) = 0;
};

// The rows held in memory, counting every change (tests; a window may show them).
class StatusRows : public StatusListView
{
public:
    int rowCount() const override { return int(rows.size()); }
    StatusRow row(int index) const override { return rows.at(size_t(index)); }
    void setRow(int index, const StatusRow& row) override;
    void removeRow(int index) override;
    void appendRow(const StatusRow& row) override;
    void clear() override;
    void setSortKey(int key) override { sortKey = key; }

    std::vector<StatusRow> rows;
    int changes = 0;
    int sortKey = 0;
};

// The column headers: "File Name", "Status", "DateCreated", "File Path".
const std::vector<QString>& statusColumns();

// The entries the three folders give, in the order success, error, source folder
// (each in listing order); a path found again is left out, so the first state wins:
// - each file of the success folder: "Loaded";
// - each file of the error folder that is no companion ("_RowsNotLoaded" or
//   "_ERRORLOG" at its second character or later): "Partially Loaded" with the
//   path of its "_RowsNotLoaded" companion when one lies beside it, else "Error(s)
//   Found" with the path of its "_ERRORLOG" companion, else "Error(s) Found" with
//   its own path (a failed file whose error file could not be written); companions
//   are paired in any letter case from the one reading of the error folder;
// - each file of the source folder: "Pending" (`sourceFiles` when the caller has
//   just read that folder, else it is read here).
// Each folder is read once. A missing or unreadable folder gives no entries.
std::vector<StatusRow> deriveBatchStatus(BatchFileSystem& files, const QString& successFolder,
                                         const QString& errorFolder, const QString& sourceFolder,
                                         const std::vector<shell::FileEntry>* sourceFiles = nullptr);

// The same derivation, kept between scans: what the success and error folders
// gave last time is held by each name's bytes and creation time, so that a scan
// where nothing changed converts, pairs and sorts nothing again; only new or
// changed files get their texts made.
class BatchStatusScan
{
public:
    BatchStatusScan();
    ~BatchStatusScan();
    BatchStatusScan(const BatchStatusScan&) = delete;
    BatchStatusScan& operator=(const BatchStatusScan&) = delete;

    std::vector<StatusRow> derive(BatchFileSystem& files, const QString& successFolder,
                                  const QString& errorFolder, const QString& sourceFolder,
                                  const std::vector<shell::FileEntry>* sourceFiles = nullptr);
    // Derives the entries and reconciles the list.
    void refresh(StatusListView& list, BatchFileSystem& files, const QString& successFolder,
                 const QString& errorFolder, const QString& sourceFolder,
                 const std::vector<shell::FileEntry>* sourceFiles = nullptr);

    class Folder;

private:
    std::unique_ptr<Folder> m_success;
    std::unique_ptr<Folder> m_error;
};

// Brings the list in line with the entries, changing only rows that differ: an
// empty list gets every entry; otherwise rows whose path has no entry go, rows
// whose state or date differ get the entry's, and entries without a row are
// appended, in entry order. Rows keep their places.
void reconcileBatchStatus(StatusListView& list, std::vector<StatusRow> entries);

// RefreshBatchStatus: derives the entries and reconciles the list.
void RefreshBatchStatus(StatusListView& list, BatchFileSystem& files, const QString& successFolder,
                        const QString& errorFolder, const QString& sourceFolder,
                        const std::vector<shell::FileEntry>* sourceFiles = nullptr);

// ListViewBatchStatus_ColumnClick: the sort key of a click on the 1-based column.
void ListViewBatchStatus_ColumnClick(StatusListView& list, int columnIndex);

} // namespace batch
