#pragma once

#include <QString>
#include <QStringList>

#include <map>
#include <optional>
#include <vector>

// The durable record that keeps batch mode from posting a file twice. Before a
// file's import begins its identity is written and flushed to disk; before the
// pass that commits, the documents it is to post (rows and customer of each) are
// written and flushed once; each document's outcome is added as the pass goes;
// a failing file's errors and the folder it is being moved into are written
// before the move; once the file is filed, that is written too. A file found
// again with an import begun and never filed (a crash, a kill, a move that
// failed) is not imported again.
//
// The journal is a text file of lines "kind <TAB> identity <TAB> value", each
// field percent-encoded, appended one line at a time. A line cut short by a crash
// is ignored. Opening it rewrites it with only the files still unfinished, so it
// stays small.
namespace batch {

class BatchJournal
{
public:
    // A document the import pass was to post, as the validate pass built it.
    struct Planned
    {
        int firstRow = 0;
        int lastRow = 0;
        QString account;
    };

    struct Unfinished
    {
        QString identity;             // as recorded: the file's path and bytes when its import began
        QString source;               // the file's path when its import began
        std::vector<Planned> planned; // empty when the pass that commits never began
        QStringList outcomes;         // per document in order: its number when committed, else ""
        QStringList errors;           // a failing file's error entries, kept before its move
        QString target;               // where the file was being moved, when it was
        bool failing = false;         // the target is in the error folder
        bool interrupted = false;     // the target is the filing of an interrupted import
        bool changed = false;         // the file changed after the interruption
        bool vanished = false;        // the file went away while it was imported

        QStringList posted() const; // the committed documents
        // Some document committed, or one whose commit began without an outcome.
        bool mayHavePosted() const
        {
            return !posted().isEmpty() || planned.size() > size_t(outcomes.size());
        }
    };

    // Reads (and compacts) the journal at `path`; a missing file is an empty
    // journal. Raises basic::RuntimeError when it cannot be read or rewritten.
    explicit BatchJournal(const QString& path);

    // "<configuration folder>/quillar/batch.journal", beside the user hive.
    static QString defaultPath();

    // What identifies a file: its resolved path and the SHA-256 of its bytes.
    // Raises basic::RuntimeError when the file cannot be read.
    static QString identify(const QString& path);
    // The identity of a file that may not be read: its resolved path alone.
    static QString pathIdentity(const QString& path);

    // The unfinished import of this file: recorded with the same identity, or
    // else begun at the same path and not gone away since (whatever its bytes are
    // now: `changed` is then set). A file that went away keeps its record only for
    // the same bytes coming back.
    std::optional<Unfinished> unfinished(const QString& identity) const;

    // The unfinished imports whose file was being moved.
    std::vector<Unfinished> moving() const;

    // Each raises basic::RuntimeError when the journal cannot be written. A begun
    // import is on disk when begin() returns, and its documents when planned()
    // returns: that keeps a file from being imported twice and its error file
    // from naming fewer documents than may have been posted. The other records
    // are written at once too (a killed program keeps them) but reach the disk
    // with the next flush: a power cut may lose them.
    void begin(const QString& identity, const QString& source);
    void planned(const QString& identity, const std::vector<Planned>& documents);
    // `document` is the committed document's number, empty when it was not committed.
    void done(const QString& identity, const QString& document);
    void errors(const QString& identity, const QStringList& entries);
    void interrupted(const QString& identity, bool changed);
    void moving(const QString& identity, const QString& target, bool failing);
    void vanished(const QString& identity);
    void filed(const QString& identity, const QString& target);

    const QString& path() const { return m_path; }

private:
    void read(const QByteArray& bytes);
    void append(const QByteArray& lines, bool flush);
    void rewrite();

    QString m_path;
    std::map<QString, Unfinished> m_open;
};

} // namespace batch
