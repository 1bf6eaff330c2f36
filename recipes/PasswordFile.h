#pragma once
// The password file "user_1.set" in the program's Config folder: one MD5 digest per
// account (technician, engineer, system), Base64, AES-128-ECB with zero padding under
// a built-in key, stored as one little-endian QDataStream byte array.
#include <QByteArray>
#include <QString>

namespace PasswordFile {

constexpr int kAccounts = 3;
constexpr int kDigestSize = 16;

// Paths::configDir() + "/user_1.set": the one file both the login and the system
// settings use.
QString path();

// MD5 over the UTF-8 bytes of the password, raw and as 32 lowercase hex digits.
QByteArray digest(const QString& password);
QString digestHex(const QString& password);

// File content for the given 48 digest bytes, and back. decode() returns what the
// file yields (fewer than 48 bytes when it is short or damaged, never more).
QByteArray encode(const QByteArray& digests);
QByteArray decode(const QByteArray& fileContent);

// The stored digest of one account as hex digits; empty when the file lacks it.
QString storedHex(const QByteArray& digests, int account);

// Reads the file's digests. False (and why) when it cannot be read; *digests is then empty.
bool read(QByteArray* digests, QString* error = nullptr);
// Replaces the file (atomically) with the given digests; a part missing from digests is
// written as zeros, which reads back as empty.
bool write(const QByteArray& digests, QString* error = nullptr);
// The default password for all three accounts.
bool writeDefault(QString* error = nullptr);
// Creates the file with the default password when it does not exist. False when it is
// missing and cannot be created.
bool ensureExists(QString* error = nullptr);

} // namespace PasswordFile
