#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <optional>

// The two-hive registry store. Each hive is one file:
//   machine hive: $QUILLAR_MACHINE_HIVE, default /etc/quillar/machine.hive
//   user hive:    $QUILLAR_USER_HIVE, default $XDG_CONFIG_HOME/quillar/user.hive
// Key paths use "\" ("Software\Dunmere\Config"); key and value names compare
// without regard to case and keep the spelling they were created with. The value
// named "" is the key's default value. Every change is written at once through a
// temporary file and a rename; a hive file that cannot be read is reported and
// never replaced.
namespace registry {

enum class Hive { LocalMachine, CurrentUser };
enum class Access { Read, ReadWrite };
enum class ValueType : uint32_t { String = 1, Binary = 3, DWord = 4 };

// Status codes as the platform's registry calls return them.
enum Status : int32_t {
    Success = 0,
    FileNotFound = 2,   // no such key or value
    AccessDenied = 5,   // the hive may not be written by this user
    InvalidData = 13,   // the hive file is corrupt
    MoreData = 234,     // the caller's buffer is too small
    WriteFault = 29,    // the hive could not be written; the old file is whole
    InvalidParameter = 87, // a malformed key path, an empty key name or an unknown value type
};

// How a string value is handed to a caller's buffer: as UTF-16 (the wide calls)
// or in the 8-bit code page, UTF-8 here (the single-byte calls).
enum class Chars { Wide, Narrow };

struct Value
{
    ValueType type = ValueType::String;
    QString string;     // String
    uint32_t dword = 0; // DWord
    QByteArray binary;  // Binary

    static Value fromString(const QString& s) { Value v; v.type = ValueType::String; v.string = s; return v; }
    static Value fromDWord(uint32_t d) { Value v; v.type = ValueType::DWord; v.dword = d; return v; }
    static Value fromBinary(const QByteArray& b) { Value v; v.type = ValueType::Binary; v.binary = b; return v; }
    // The bytes as the platform would hand them to a caller's buffer: a string as
    // UTF-16 with its terminating NUL, a DWord as four little-endian bytes.
    QByteArray rawBytes() const;
    // As rawBytes(), with a string in the form `chars` asks for (Narrow: the 8-bit
    // code page and one terminating NUL).
    QByteArray rawBytes(Chars chars) const;
};

QString hivePath(Hive hive);
// Whether this user may write the hive: the rule that ReadWrite opens, createKey and
// deleteKey apply (see docs/registry.md).
bool hiveWritable(Hive hive);

// An open key. Obtained from openKey/createKey; reads the hive file at open time
// and again when it changed on disk, so other processes' writes are seen.
class Key
{
public:
    ~Key();
    Key(Key&&) noexcept;
    Key& operator=(Key&&) noexcept;

    Hive hive() const;
    const QString& path() const;
    Access access() const;

    Status queryValue(const QString& name, Value& out) const;
    // RegQueryValueEx into a caller's buffer of `bufferSize` bytes: sets `type` and
    // `data` (the value's raw bytes) on Success; when the bytes do not fit, returns
    // MoreData with `type` set, `data` empty and `*needed` the size they need.
    Status queryValue(const QString& name, ValueType& type, QByteArray& data, uint32_t bufferSize,
                      Chars chars = Chars::Wide, uint32_t* needed = nullptr) const;
    Status setValue(const QString& name, const Value& value); // AccessDenied when opened Read
    Status deleteValue(const QString& name);
    QStringList valueNames() const;
    QStringList subKeyNames() const;

private:
    friend Status openKey(Hive, const QString&, Access, std::optional<Key>&);
    friend Status createKey(Hive, const QString&, std::optional<Key>&);
    struct Impl;
    explicit Key(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> m;
};

// RegOpenKeyEx: FileNotFound when the key does not exist; AccessDenied for
// ReadWrite on a hive this user may not write; InvalidData for a corrupt hive.
Status openKey(Hive hive, const QString& path, Access access, std::optional<Key>& out);
// openKey for reading and queryValue in one look at the hive: the reader of a
// setting that is read for every line of an import.
Status readValue(Hive hive, const QString& path, const QString& name, Value& out);
// RegCreateKeyEx: opens read-write, creating the key and its parents as needed.
Status createKey(Hive hive, const QString& path, std::optional<Key>& out);
// Deletes a key and everything under it.
Status deleteKey(Hive hive, const QString& path);

// A readable description of a status for error messages ("the hive file ... is corrupt").
QString statusText(Status status, Hive hive);

} // namespace registry
