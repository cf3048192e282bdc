#pragma once

#include "keystore.h"

#include <QString>

class Prompts;

// Stores a name as "Custom CFG" of an existing ICQ account key
// (Software\Mirabilis\ICQ\Owners\<number>); the key is never created.
namespace IcqSave {

inline constexpr char kOwnersPath[] = "Software\\Mirabilis\\ICQ\\Owners\\";
inline constexpr char kValueName[] = "Custom CFG";

enum class Outcome { Saved, Cancelled, Refused };

// Asks for the account number, then writes the name's Windows-1252 bytes
// (characters it cannot hold become '?'; no terminating zero). Cancel or an empty
// answer does nothing; any other failure is told through `prompts` and nothing is
// written. A successful save says nothing.
Outcome save(Prompts &prompts, KeyStore &store, const QString &name);

} // namespace IcqSave
