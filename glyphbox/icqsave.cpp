#include "icqsave.h"

#include "cp1252.h"
#include "prompts.h"

#include <algorithm>

namespace IcqSave {

namespace {

const QString kTitle = QStringLiteral("Glyphbox");

bool isAccountNumber(const QString &answer)
{
    // Digits only: a backslash or ".." would reach keys outside the account's.
    return std::all_of(answer.begin(), answer.end(),
                       [](QChar c) { return c >= u'0' && c <= u'9'; });
}

} // namespace

Outcome save(Prompts &prompts, KeyStore &store, const QString &name)
{
    const std::optional<QString> answer =
        prompts.input(QStringLiteral("Please enter the ICQ number to save this name to."),
                      QStringLiteral("ICQ Number to Save to:"), QString());
    if (!answer || answer->isEmpty())
        return Outcome::Cancelled;

    if (!isAccountNumber(*answer)) {
        prompts.message(
            QStringLiteral("\"%1\" is not an ICQ number.\rNothing was saved.").arg(*answer),
            kTitle);
        return Outcome::Refused;
    }

    const QString path = QLatin1String(kOwnersPath) + *answer;
    if (!store.keyExists(KeyStore::Root::CurrentUser, path)) {
        prompts.message(QStringLiteral("There is no ICQ account %1 on this computer.\r"
                                       "Nothing was saved.")
                            .arg(*answer),
                        kTitle);
        return Outcome::Refused;
    }

    const KeyStore::Result result = store.storeString(
        KeyStore::Root::CurrentUser, path, QLatin1String(kValueName), Cp1252::fromUnicode(name));
    if (!result.ok) {
        prompts.message(QStringLiteral("The name could not be saved for ICQ account %1:\r%2\r"
                                       "Nothing was saved.")
                            .arg(*answer, result.message),
                        kTitle);
        return Outcome::Refused;
    }
    return Outcome::Saved;
}

} // namespace IcqSave
