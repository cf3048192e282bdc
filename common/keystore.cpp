#include "keystore.h"

#include "apppaths.h"

// Placeholder until the real store lands.
KeyStore::KeyStore(const QString &filePath) : m_path(filePath) {}
KeyStore KeyStore::userStore() { return KeyStore(AppPaths::keyStoreFile()); }
KeyStore::Result KeyStore::createKey(Root, const QString &) { return {}; }
bool KeyStore::keyExists(Root, const QString &) const { return false; }
KeyStore::Result KeyStore::storeString(Root, const QString &, const QString &, const QByteArray &) { return {}; }
KeyStore::Result KeyStore::storeDword(Root, const QString &, const QString &, qint32) { return {}; }
std::optional<KeyStore::Value> KeyStore::readValue(Root, const QString &, const QString &) const { return {}; }
