#include "QAESEncryption.h"

#include <openssl/evp.h>

#include <memory>

namespace {
const EVP_CIPHER* cipherFor(QAESEncryption::Aes level, QAESEncryption::Mode mode) {
    switch (level) {
    case QAESEncryption::AES_128:
        switch (mode) {
        case QAESEncryption::ECB:
            return EVP_aes_128_ecb();
        case QAESEncryption::CBC:
            return EVP_aes_128_cbc();
        case QAESEncryption::CFB:
            return EVP_aes_128_cfb128();
        case QAESEncryption::OFB:
            return EVP_aes_128_ofb();
        }
        break;
    case QAESEncryption::AES_192:
        switch (mode) {
        case QAESEncryption::ECB:
            return EVP_aes_192_ecb();
        case QAESEncryption::CBC:
            return EVP_aes_192_cbc();
        case QAESEncryption::CFB:
            return EVP_aes_192_cfb128();
        case QAESEncryption::OFB:
            return EVP_aes_192_ofb();
        }
        break;
    case QAESEncryption::AES_256:
        switch (mode) {
        case QAESEncryption::ECB:
            return EVP_aes_256_ecb();
        case QAESEncryption::CBC:
            return EVP_aes_256_cbc();
        case QAESEncryption::CFB:
            return EVP_aes_256_cfb128();
        case QAESEncryption::OFB:
            return EVP_aes_256_ofb();
        }
        break;
    }
    return nullptr;
}

struct CtxFree {
    void operator()(EVP_CIPHER_CTX* ctx) const { EVP_CIPHER_CTX_free(ctx); }
};
} // namespace

QAESEncryption::QAESEncryption(Aes level, Mode mode, Padding padding)
    : m_level(level), m_mode(mode), m_padding(padding) {}

int QAESEncryption::keyLength() const {
    switch (m_level) {
    case AES_128:
        return 16;
    case AES_192:
        return 24;
    case AES_256:
        return 32;
    }
    return 16;
}

QByteArray QAESEncryption::pad(const QByteArray& rawText) const {
    const int rest = rawText.size() % kBlockSize;
    QByteArray out = rawText;
    switch (m_padding) {
    case ZERO:
        if (rest != 0) out.append(QByteArray(kBlockSize - rest, '\0'));
        break;
    case PKCS7: {
        const int n = kBlockSize - rest;
        out.append(QByteArray(n, char(n)));
        break;
    }
    case ISO:
        out.append(char(0x80));
        if (out.size() % kBlockSize != 0) out.append(QByteArray(kBlockSize - out.size() % kBlockSize, '\0'));
        break;
    }
    return out;
}

QByteArray QAESEncryption::removePadding(const QByteArray& rawText) const {
    QByteArray out = rawText;
    switch (m_padding) {
    case ZERO:
        while (!out.isEmpty() && out.endsWith('\0')) out.chop(1);
        break;
    case PKCS7: {
        if (out.isEmpty()) break;
        const int n = quint8(out.back());
        if (n < 1 || n > kBlockSize || n > out.size()) break;
        for (int i = out.size() - n; i < out.size(); ++i) {
            if (quint8(out[i]) != n) return out; // not a padding: leave the text alone
        }
        out.chop(n);
        break;
    }
    case ISO: {
        int end = out.size();
        while (end > 0 && out[end - 1] == '\0') --end;
        if (end > 0 && quint8(out[end - 1]) == 0x80) out.truncate(end - 1);
        break;
    }
    }
    return out;
}

QByteArray QAESEncryption::run(bool encrypt, const QByteArray& data, const QByteArray& key,
                               const QByteArray& iv) const {
    const EVP_CIPHER* cipher = cipherFor(m_level, m_mode);
    if (!cipher || key.size() != keyLength()) return QByteArray();
    if (m_mode != ECB && iv.size() != kBlockSize) return QByteArray();
    if ((m_mode == ECB || m_mode == CBC) && data.size() % kBlockSize != 0) return QByteArray();
    if (data.isEmpty()) return QByteArray();

    std::unique_ptr<EVP_CIPHER_CTX, CtxFree> ctx(EVP_CIPHER_CTX_new());
    if (!ctx) return QByteArray();
    const auto* k = reinterpret_cast<const unsigned char*>(key.constData());
    const auto* v = m_mode == ECB ? nullptr : reinterpret_cast<const unsigned char*>(iv.constData());
    if (EVP_CipherInit_ex(ctx.get(), cipher, nullptr, k, v, encrypt ? 1 : 0) != 1) return QByteArray();
    EVP_CIPHER_CTX_set_padding(ctx.get(), 0);

    QByteArray out(data.size() + kBlockSize, '\0');
    int len = 0, tail = 0;
    auto* o = reinterpret_cast<unsigned char*>(out.data());
    if (EVP_CipherUpdate(ctx.get(), o, &len, reinterpret_cast<const unsigned char*>(data.constData()),
                         data.size()) != 1)
        return QByteArray();
    if (EVP_CipherFinal_ex(ctx.get(), o + len, &tail) != 1) return QByteArray();
    out.truncate(len + tail);
    return out;
}

QByteArray QAESEncryption::encode(const QByteArray& rawText, const QByteArray& key,
                                  const QByteArray& iv) const {
    return run(true, pad(rawText), key, iv);
}

QByteArray QAESEncryption::decode(const QByteArray& rawText, const QByteArray& key,
                                  const QByteArray& iv) const {
    return run(false, rawText, key, iv);
}

QByteArray QAESEncryption::Crypt(Aes level, Mode mode, const QByteArray& rawText, const QByteArray& key,
                                 const QByteArray& iv, Padding padding) {
    return QAESEncryption(level, mode, padding).encode(rawText, key, iv);
}

QByteArray QAESEncryption::Decrypt(Aes level, Mode mode, const QByteArray& rawText, const QByteArray& key,
                                   const QByteArray& iv, Padding padding) {
    return QAESEncryption(level, mode, padding).decode(rawText, key, iv);
}

QByteArray QAESEncryption::RemovePadding(const QByteArray& rawText, Padding padding) {
    return QAESEncryption(AES_128, ECB, padding).removePadding(rawText);
}
