// The password file "user_1.set": whatever it holds yields at most three digests.
#include "FuzzSupport.h"
#include "recipes/PasswordFile.h"

// The password file names the users' default; the users module is not linked here.
namespace Users {
extern const char kDefaultPassword[];
const char kDefaultPassword[] = "123456";
} // namespace Users

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray digests = PasswordFile::decode(fuzz::bytes(data, size));
    fuzz::require(digests.size() <= PasswordFile::kAccounts * PasswordFile::kDigestSize, "at most 48 bytes");
    for (int a = 0; a < PasswordFile::kAccounts; ++a) {
        const QString hex = PasswordFile::storedHex(digests, a);
        fuzz::require(hex.isEmpty() || hex.size() == 2 * PasswordFile::kDigestSize,
                      "a digest is 32 hex digits");
    }
    if (digests.size() == PasswordFile::kAccounts * PasswordFile::kDigestSize)
        fuzz::require(PasswordFile::decode(PasswordFile::encode(digests)) == digests, "digests read back");
    return 0;
}
