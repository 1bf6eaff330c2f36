#pragma once
// The three operator accounts, the process-wide user level and the password rules
// of the login and system settings dialogs, apart from their widgets.
#include <QString>

namespace Users {

// Built into the program; the README tells the operator both.
extern const char kDefaultPassword[]; // six digits
extern const char kResetWord[];       // six lowercase letters

// Longest password the fields take.
constexpr int kMaxPasswordLength = 10;

// "技术员", "工程师", "系统" for levels 1..3, else empty.
QString levelName(int level);
// Combo box rows of the dialogs: the account names in account order.
QString accountName(int account);

// Whether a password's hex digest opens the account: it equals the stored digest
// (which must not be empty) or the account's master digest.
bool accepts(int account, const QString& typedHex, const QString& storedHex);

enum class LoginResult { EmptyPassword, Accepted, Refused };
// Checks a password against the password file (created with the default when missing)
// and sets userLevel: account + 1 when accepted, 0 when refused, unchanged when empty.
LoginResult login(int account, const QString& password);

enum class ChangeResult {
    Reset,            // all three fields held the reset word: default for every account
    EmptyField,       // a field was empty
    NewDiffers,       // new password and its repetition differ
    WrongOldPassword, // the old password does not open the account
    Changed,          // the account has the new password
    ReadFailed,       // the file cannot be read; nothing was changed
    WriteFailed       // the file could not be replaced; it is unchanged
};
// The password change of the system settings, checks in this order: reset word,
// empty fields, repetition, old password.
ChangeResult changePassword(int account, const QString& oldPassword, const QString& newPassword,
                            const QString& repeated);

} // namespace Users
