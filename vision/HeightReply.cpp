// The height sensor's reply on its own, so that it can be checked without a socket.
#include "TcpBase.h"

namespace {
const QByteArray kMarker = "%01$RMD";
constexpr int kValueChars = 8;

bool isSignedWhole(const QByteArray& s) {
    int i = (s.startsWith('+') || s.startsWith('-')) ? 1 : 0;
    if (i >= s.size()) return false;
    for (; i < s.size(); ++i)
        if (s[i] < '0' || s[i] > '9') return false;
    return true;
}
} // namespace

bool TcpBase::parseReply(const QByteArray& text, double* rawMm) {
    const int at = text.indexOf(kMarker);
    if (at < 0) return false;
    const QByteArray digits = text.mid(at + kMarker.size(), kValueChars);
    if (digits.size() != kValueChars || !isSignedWhole(digits)) return false;
    *rawMm = digits.toLongLong() / 10000.0;
    return true;
}
