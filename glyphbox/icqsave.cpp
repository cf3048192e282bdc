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

    // The key must exist already: one write that refuses a missing key, so the
    // store is read once and no account is ever created here.
    const QString path = QLatin1String(kOwnersPath) + *answer;
    const FileError stored = store.storeString(
        KeyStore::Root::CurrentUser, path, QLatin1String(kValueName), Cp1252::fromUnicode(name));
    if (stored.kind() == FileError::Kind::NotFound) {
        prompts.message(QStringLiteral("There is no ICQ account %1 on this computer.\r"
                                       "Nothing was saved.")
                            .arg(*answer),
                        kTitle);
        return Outcome::Refused;
    }
    if (!stored.ok()) {
        prompts.message(QStringLiteral("The name could not be saved for ICQ account %1:\r%2\r"
                                       "Nothing was saved.")
                            .arg(*answer, stored.text()),
                        kTitle);
        return Outcome::Refused;
    }
    return Outcome::Saved;
}

} // namespace IcqSave
