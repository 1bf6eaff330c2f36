#include "Users.h"

#include "PasswordFile.h"
#include "app/MachineData.h"
#include "platform/KZLOG.h"

#include <QCoreApplication>

namespace Users {

const char kDefaultPassword[] = "123456";
const char kResetWord[] = "tavrin";

namespace {

// MD5 of each account's master password, which opens it whatever the file holds.
const char* const kMasterDigests[PasswordFile::kAccounts] = {
    "245f6edd63cd20ff6a0b797d15ce2b22",
    "0d65efa0784c7c62702b8ccb9f790408",
    "cfa50180591a38d46c185cd6642b3582",
};

// The stored digests; a file that cannot be read leaves only the master passwords.
QByteArray storedDigests() {
    QString error;
    if (!PasswordFile::ensureExists(&error)) KZLOG::CLog::Error(QString("password file: %1").arg(error));
    QByteArray digests;
    if (!PasswordFile::read(&digests, &error)) KZLOG::CLog::Error(QString("password file: %1").arg(error));
    return digests;
}

} // namespace

QString levelName(int level) {
    switch (level) {
    case 1:
        return QCoreApplication::translate("Users", "技术员");
    case 2:
        return QCoreApplication::translate("Users", "工程师");
    case 3:
        return QCoreApplication::translate("Users", "系统");
    default:
        return QString();
    }
}

QString accountName(int account) {
    return levelName(account + 1);
}

bool accepts(int account, const QString& typedHex, const QString& storedHex) {
    if (account < 0 || account >= PasswordFile::kAccounts) return false;
    return (!storedHex.isEmpty() && typedHex == storedHex) ||
           typedHex == QLatin1String(kMasterDigests[account]);
}

LoginResult login(int account, const QString& password) {
    if (password.isEmpty()) return LoginResult::EmptyPassword;
    const QString typed = PasswordFile::digestHex(password);
    if (accepts(account, typed, PasswordFile::storedHex(storedDigests(), account))) {
        userLevel = account + 1;
        KZLOG::CLog::Info(QString("login: %1").arg(accountName(account)));
        return LoginResult::Accepted;
    }
    userLevel = 0;
    KZLOG::CLog::Warn(QString("login refused: %1").arg(accountName(account)));
    return LoginResult::Refused;
}

ChangeResult changePassword(int account, const QString& oldPassword, const QString& newPassword,
                            const QString& repeated) {
    QString error;
    if (oldPassword == QLatin1String(kResetWord) && newPassword == QLatin1String(kResetWord) &&
        repeated == QLatin1String(kResetWord)) {
        if (!PasswordFile::writeDefault(&error)) {
            KZLOG::CLog::Error(QString("password reset failed: %1").arg(error));
            return ChangeResult::WriteFailed;
        }
        KZLOG::CLog::Info(QStringLiteral("passwords reset to the default"));
        return ChangeResult::Reset;
    }
    if (oldPassword.isEmpty() || newPassword.isEmpty() || repeated.isEmpty()) return ChangeResult::EmptyField;
    if (newPassword != repeated) return ChangeResult::NewDiffers;

    if (!PasswordFile::ensureExists(&error)) KZLOG::CLog::Error(QString("password file: %1").arg(error));
    QByteArray digests;
    if (!PasswordFile::read(&digests, &error)) {
        KZLOG::CLog::Error(QString("password file: %1").arg(error));
        return ChangeResult::ReadFailed;
    }
    if (!accepts(account, PasswordFile::digestHex(oldPassword), PasswordFile::storedHex(digests, account)))
        return ChangeResult::WrongOldPassword;

    // Parts the file lacked stay empty; the other accounts keep their bytes.
    digests.append(QByteArray(PasswordFile::kAccounts * PasswordFile::kDigestSize - digests.size(), '\0'));
    digests.replace(account * PasswordFile::kDigestSize, PasswordFile::kDigestSize,
                    PasswordFile::digest(newPassword));
    if (!PasswordFile::write(digests, &error)) {
        KZLOG::CLog::Error(QString("password change failed: %1").arg(error));
        return ChangeResult::WriteFailed;
    }
    KZLOG::CLog::Info(QString("password changed: %1").arg(accountName(account)));
    return ChangeResult::Changed;
}

} // namespace Users
