#include "PasswordFile.h"

#include "Users.h"
#include "platform/AtomicFile.h"
#include "platform/Paths.h"
#include "platform/QAESEncryption.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QFile>

namespace PasswordFile {
namespace {

// The file is obscured, not protected: whoever has the program has the key.
const char kPassPhrase[] = "tv";

// Nothing sane is this large; a bigger file is damaged and not worth reading whole.
constexpr qint64 kMaxFileSize = 64 * 1024;

QByteArray key() {
    return QCryptographicHash::hash(QByteArray(kPassPhrase), QCryptographicHash::Md5);
}

QAESEncryption cipher() {
    return QAESEncryption(QAESEncryption::AES_128, QAESEncryption::ECB, QAESEncryption::ZERO);
}

} // namespace

QString path() {
    return Paths::configDir() + "/user_1.set";
}

QByteArray digest(const QString& password) {
    return QCryptographicHash::hash(password.toUtf8(), QCryptographicHash::Md5);
}

QString digestHex(const QString& password) {
    return QString::fromLatin1(digest(password).toHex());
}

QByteArray encode(const QByteArray& digests) {
    QByteArray plain = digests.left(kAccounts * kDigestSize);
    plain.append(QByteArray(kAccounts * kDigestSize - plain.size(), '\0'));
    const QByteArray cipherText = cipher().encode(plain.toBase64(), key());
    QByteArray out;
    QDataStream stream(&out, QIODevice::WriteOnly);
    stream.setByteOrder(QDataStream::LittleEndian);
    stream << cipherText;
    return out;
}

QByteArray decode(const QByteArray& fileContent) {
    QDataStream stream(fileContent);
    stream.setByteOrder(QDataStream::LittleEndian);
    QByteArray cipherText;
    stream >> cipherText;
    if (stream.status() != QDataStream::Ok || cipherText.isEmpty()) return QByteArray();
    // A cut file still gives its whole blocks.
    cipherText.truncate(cipherText.size() - cipherText.size() % QAESEncryption::kBlockSize);
    const QAESEncryption aes = cipher();
    const QByteArray text = aes.removePadding(aes.decode(cipherText, key()));
    const QByteArray::FromBase64Result plain =
        QByteArray::fromBase64Encoding(text, QByteArray::AbortOnBase64DecodingErrors);
    if (!plain) return QByteArray();
    return plain.decoded.left(kAccounts * kDigestSize);
}

QString storedHex(const QByteArray& digests, int account) {
    const QByteArray part = digests.mid(account * kDigestSize, kDigestSize);
    if (part.size() != kDigestSize || part == QByteArray(kDigestSize, '\0')) return QString();
    return QString::fromLatin1(part.toHex());
}

bool read(QByteArray* digests, QString* error) {
    digests->clear();
    QFile file(path());
    if (!file.open(QIODevice::ReadOnly)) {
        if (error) *error = QString("cannot read %1: %2").arg(path(), file.errorString());
        return false;
    }
    *digests = decode(file.read(kMaxFileSize));
    return true;
}

bool write(const QByteArray& digests, QString* error) {
    return AtomicFile::write(path(), encode(digests), error);
}

bool writeDefault(QString* error) {
    const QByteArray d = digest(Users::kDefaultPassword);
    return write(d + d + d, error);
}

bool ensureExists(QString* error) {
    if (QFile::exists(path())) return true;
    return writeDefault(error);
}

} // namespace PasswordFile
