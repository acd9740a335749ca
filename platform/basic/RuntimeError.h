#pragma once

#include <QString>

#include <cstdint>
#include <exception>
#include <string>

namespace basic {

// The run-time error numbers the system branches on.
namespace err {
constexpr int32_t InvalidProcedureCall = 5;
constexpr int32_t Overflow = 6;
constexpr int32_t SubscriptOutOfRange = 9;
constexpr int32_t OutOfStringSpace = 14;
constexpr int32_t DivisionByZero = 11;
constexpr int32_t TypeMismatch = 13;
constexpr int32_t BadFileNameOrNumber = 52;
constexpr int32_t FileNotFound = 53;
constexpr int32_t BadFileMode = 54;
constexpr int32_t FileAlreadyOpen = 55;
constexpr int32_t InputPastEndOfFile = 62;
constexpr int32_t PathFileAccessError = 75;
constexpr int32_t PathNotFound = 76;
constexpr int32_t ObjectVariableNotSet = 91;
constexpr int32_t InvalidUseOfNull = 94;
constexpr int32_t InvalidPropertyValue = 380;
constexpr int32_t CantCreateObject = 429;
constexpr int32_t ObjectDoesntSupportMember = 438;
constexpr int32_t WrongNumberOfArguments = 450;
// Automation error codes (HRESULTs) as the run-time reports them: negative numbers.
constexpr int32_t DispUnknownName = int32_t(0x80020006u);
constexpr int32_t DispMemberNotFound = int32_t(0x80020003u);
constexpr int32_t DispTypeMismatch = int32_t(0x80020005u);
constexpr int32_t DispBadParamCount = int32_t(0x8002000Eu);
constexpr int32_t DispParamNotFound = int32_t(0x80020004u);
constexpr int32_t DispException = int32_t(0x80020009u);
constexpr int32_t ClassNotRegistered = int32_t(0x80040154u);
constexpr int32_t InvalidClassString = int32_t(0x800401F3u);
constexpr int32_t ModuleNotFound = int32_t(0x8007007Eu);
constexpr int32_t Fail = int32_t(0x80004005u);
constexpr int32_t NoInterface = int32_t(0x80004002u);
} // namespace err

// The standard description of a run-time error number ("Type mismatch" for 13).
QString errorDescription(int32_t number);

// The one run-time error type: thrown where a conversion, a file operation or an
// automation call fails, caught by the routine that owns the error handling.
class RuntimeError : public std::exception
{
public:
    explicit RuntimeError(int32_t number, QString description = {}, QString source = {});

    int32_t number() const { return m_number; }
    const QString& description() const { return m_description; }
    const QString& source() const { return m_source; }
    const char* what() const noexcept override { return m_what.c_str(); }

private:
    int32_t m_number;
    QString m_description;
    QString m_source;
    std::string m_what;
};

} // namespace basic
