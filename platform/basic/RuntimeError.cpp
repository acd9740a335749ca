#include "platform/basic/RuntimeError.h"

namespace basic {

QString errorDescription(int32_t number)
{
    switch (number) {
    case err::InvalidProcedureCall: return QStringLiteral("Invalid procedure call or argument");
    case err::Overflow: return QStringLiteral("Overflow");
    case 7: return QStringLiteral("Out of memory");
    case err::SubscriptOutOfRange: return QStringLiteral("Subscript out of range");
    case err::DivisionByZero: return QStringLiteral("Division by zero");
    case err::TypeMismatch: return QStringLiteral("Type mismatch");
    case err::OutOfStringSpace: return QStringLiteral("Out of string space");
    case err::BadFileNameOrNumber: return QStringLiteral("Bad file name or number");
    case err::FileNotFound: return QStringLiteral("File not found");
    case err::BadFileMode: return QStringLiteral("Bad file mode");
    case err::FileAlreadyOpen: return QStringLiteral("File already open");
    case 57: return QStringLiteral("Device I/O error");
    case 58: return QStringLiteral("File already exists");
    case 61: return QStringLiteral("Disk full");
    case err::InputPastEndOfFile: return QStringLiteral("Input past end of file");
    case 70: return QStringLiteral("Permission denied");
    case err::PathFileAccessError: return QStringLiteral("Path/File access error");
    case err::PathNotFound: return QStringLiteral("Path not found");
    case err::ObjectVariableNotSet: return QStringLiteral("Object variable or With block variable not set");
    case err::InvalidUseOfNull: return QStringLiteral("Invalid use of Null");
    case err::InvalidPropertyValue: return QStringLiteral("Invalid property value");
    case 424: return QStringLiteral("Object required");
    case err::CantCreateObject: return QStringLiteral("ActiveX component can't create object");
    case err::ObjectDoesntSupportMember: return QStringLiteral("Object doesn't support this property or method");
    case 440: return QStringLiteral("Automation error");
    case err::WrongNumberOfArguments: return QStringLiteral("Wrong number of arguments or invalid property assignment");
    case err::DispUnknownName: return QStringLiteral("Unknown name.");
    case err::DispMemberNotFound: return QStringLiteral("Member not found.");
    case err::DispTypeMismatch: return QStringLiteral("Type mismatch.");
    case err::DispBadParamCount: return QStringLiteral("Invalid number of parameters.");
    case err::DispParamNotFound: return QStringLiteral("Parameter not found.");
    case err::DispException: return QStringLiteral("Exception occurred.");
    case err::ClassNotRegistered: return QStringLiteral("Class not registered");
    case err::InvalidClassString: return QStringLiteral("Invalid class string");
    case err::ModuleNotFound: return QStringLiteral("The specified module could not be found.");
    case err::Fail: return QStringLiteral("Unspecified error");
    case err::NoInterface: return QStringLiteral("No such interface supported");
    default: return QStringLiteral("Application-defined or object-defined error");
    }
}

RuntimeError::RuntimeError(int32_t number, QString description, QString source)
    : m_number(number)
    , m_description(description.isEmpty() ? errorDescription(number) : std::move(description))
    , m_source(std::move(source))
{
    m_what = (QString::number(number) + QStringLiteral(": ") + m_description).toStdString();
}

} // namespace basic
