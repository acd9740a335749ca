#pragma once

#include <QString>
#include <QStringList>

#include <map>
#include <optional>

// The durable record that keeps batch mode from posting a file twice. Before a
// file's import begins its identity is written and flushed to disk; each document
// the import commits is added; once the file is filed, that is written too. A file
// found again with an import begun and never filed (a crash, a kill, a move that
// failed) is not imported again.
//
// The journal is a text file of lines "begin|posted|filed <TAB> identity <TAB>
// value", each field percent-encoded, appended and flushed one line at a time. A
// line cut short by a crash is ignored. Opening it rewrites it with only the files
// still unfinished, so it stays small.
namespace batch {

class BatchJournal
{
public:
    struct Unfinished
    {
        QString source;     // the file's path when its import began
        QStringList posted; // the documents committed before the interruption
    };

    // Reads (and compacts) the journal at `path`; a missing file is an empty
    // journal. Raises basic::RuntimeError when it cannot be read or rewritten.
    explicit BatchJournal(const QString& path);

    // "<configuration folder>/quillar/batch.journal", beside the user hive.
    static QString defaultPath();

    // What identifies a file: its resolved path and the SHA-256 of its bytes.
    // Raises basic::RuntimeError when the file cannot be read.
    static QString identify(const QString& path);

    std::optional<Unfinished> unfinished(const QString& identity) const;

    // Each raises basic::RuntimeError when the journal cannot be written. A begun
    // import is on disk when begin() returns: that alone keeps a file from being
    // imported twice. The posted documents and the filing are written at once too
    // (a killed program keeps them) but reach the disk with the next begin: a
    // power cut may lose them, which costs only a name in an error file, or files
    // a file found again as interrupted.
    void begin(const QString& identity, const QString& source);
    void posted(const QString& identity, const QString& document);
    void filed(const QString& identity, const QString& target);

    const QString& path() const { return m_path; }

private:
    void append(const char* kind, const QString& identity, const QString& value, bool flush);
    void rewrite();

    QString m_path;
    std::map<QString, Unfinished> m_open;
};

} // namespace batch
