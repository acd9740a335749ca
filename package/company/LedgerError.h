#pragma once

#include <QString>

#include <stdexcept>

namespace company {

// A failure of the company data: the message names the file concerned.
class LedgerError : public std::runtime_error
{
public:
    enum class Kind
    {
        FileNotFound,
        BadFile,
        NewerSchema,
        Locked,
        Exists,
        BadSeed,
        Other
    };

    LedgerError(Kind kind, const QString& message)
        : std::runtime_error(message.toStdString()), m_kind(kind), m_message(message)
    {
    }
    Kind kind() const { return m_kind; }
    const QString& message() const { return m_message; }

private:
    Kind m_kind;
    QString m_message;
};

} // namespace company
