#pragma once
// AES library of the machine PC: AES-128/192/256 in ECB, CBC, CFB or OFB mode with
// zero, PKCS#7 or ISO/IEC 7816-4 padding. The padding is added by encode() and left
// in place by decode(); removePadding() takes it off again (zero padding: every
// trailing zero byte).
#include <QByteArray>

class QAESEncryption {
public:
    enum Aes { AES_128, AES_192, AES_256 };
    enum Mode { ECB, CBC, CFB, OFB };
    enum Padding { ZERO, PKCS7, ISO };

    QAESEncryption(Aes level, Mode mode, Padding padding = ISO);

    // key must hold exactly 16, 24 or 32 bytes (by level), iv 16 bytes for every mode
    // but ECB (ignored there). A wrong key or iv, or cipher text that is not whole
    // blocks in ECB/CBC, gives an empty result.
    QByteArray encode(const QByteArray& rawText, const QByteArray& key,
                      const QByteArray& iv = QByteArray()) const;
    QByteArray decode(const QByteArray& rawText, const QByteArray& key,
                      const QByteArray& iv = QByteArray()) const;
    QByteArray removePadding(const QByteArray& rawText) const;

    static QByteArray Crypt(Aes level, Mode mode, const QByteArray& rawText, const QByteArray& key,
                            const QByteArray& iv = QByteArray(), Padding padding = ISO);
    static QByteArray Decrypt(Aes level, Mode mode, const QByteArray& rawText, const QByteArray& key,
                              const QByteArray& iv = QByteArray(), Padding padding = ISO);
    static QByteArray RemovePadding(const QByteArray& rawText, Padding padding = ISO);

    static constexpr int kBlockSize = 16;

private:
    QByteArray run(bool encrypt, const QByteArray& data, const QByteArray& key, const QByteArray& iv) const;
    QByteArray pad(const QByteArray& rawText) const;
    int keyLength() const;

    Aes m_level;
    Mode m_mode;
    Padding m_padding;
};
