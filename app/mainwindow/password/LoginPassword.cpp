#include "app/mainwindow/password/LoginPassword.h"

#include <array>

namespace password {

namespace {

// The 62 characters in order, and what each stands for at the same position.
// Changing either line makes every stored password unreadable.
constexpr char Plain[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
constexpr char Substitute[] = "EMXGK2f5l7HcvdsqB1PzVnkDtRpC0ibOLoTu4yW3amSAge8jYN6IxQ9hFwUJZr";
constexpr int AlphabetSize = 62;
static_assert(sizeof(Plain) == AlphabetSize + 1 && sizeof(Substitute) == AlphabetSize + 1);

// Both directions as lookup tables over ASCII; 0 marks a character outside the 62.
struct Tables
{
    std::array<char, 128> forward{};
    std::array<char, 128> backward{};
};

const Tables& tables()
{
    static const Tables t = [] {
        Tables built;
        for (int i = 0; i < AlphabetSize; ++i) {
            built.forward[static_cast<unsigned char>(Plain[i])] = Substitute[i];
            built.backward[static_cast<unsigned char>(Substitute[i])] = Plain[i];
        }
        return built;
    }();
    return t;
}

QString substitute(const QString& text, const std::array<char, 128>& table)
{
    QString result;
    for (qsizetype i = 0; i < text.size() && i < MaxPasswordLength; ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < table.size() && table[c] != 0)
            result += QLatin1Char(table[c]);
    }
    return result;
}

} // namespace

QString ScrambleLoginPassword(const QString& text)
{
    return substitute(text, tables().forward);
}

QString UnscrambleLoginPassword(const QString& text)
{
    return substitute(text, tables().backward);
}

bool isStorablePassword(const QString& password)
{
    if (password.size() > MaxPasswordLength)
        return false;
    const auto& forward = tables().forward;
    for (const QChar c : password)
        if (c.unicode() >= forward.size() || forward[c.unicode()] == 0)
            return false;
    return true;
}

QString passwordRuleMessage()
{
    return QStringLiteral("A password may hold only the letters A to Z and a to z and the digits 0 to 9, "
                          "at most %1 characters, and no blanks. Please choose another password.")
        .arg(MaxPasswordLength);
}

} // namespace password
