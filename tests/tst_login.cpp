// Users, login and passwords through the real dialogs: the password file byte for
// byte against an independent decoder, login levels, password change and reset.
#include "TestSupport.h"

#include "app/DataSetup.h"
#include "app/MachineData.h"
#include "app/MainWindow1.h"
#include "app/Prompt.h"
#include "platform/AtomicFile.h"
#include "platform/Paths.h"
#include "recipes/Login1.h"
#include "recipes/PasswordFile.h"
#include "recipes/Sysset.h"
#include "sequences/CycleData.h"

#include <QComboBox>
#include <QCryptographicHash>
#include <QDir>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>
#include <memory>
#include <openssl/evp.h>

namespace {

const char kPassPhrase[] = "tv";
const QString kDefault = "123456";
const QString kResetWord = "tavrin";
const QString kMaster[3] = {"tvjs4817", "tvgc5293", "tvxt7360"};

QByteArray md5(const QString& s) {
    return QCryptographicHash::hash(s.toUtf8(), QCryptographicHash::Md5);
}

QByteArray aesEcb(bool encrypt, const QByteArray& data) {
    const QByteArray key = md5(kPassPhrase);
    EVP_CIPHER_CTX* ctx = EVP_CIPHER_CTX_new();
    EVP_CipherInit_ex(ctx, EVP_aes_128_ecb(), nullptr, reinterpret_cast<const unsigned char*>(key.data()),
                      nullptr, encrypt ? 1 : 0);
    EVP_CIPHER_CTX_set_padding(ctx, 0);
    QByteArray out(data.size() + 16, '\0');
    int n = 0, tail = 0;
    auto* o = reinterpret_cast<unsigned char*>(out.data());
    const bool ok =
        EVP_CipherUpdate(ctx, o, &n, reinterpret_cast<const unsigned char*>(data.data()), data.size()) == 1 &&
        EVP_CipherFinal_ex(ctx, o + n, &tail) == 1;
    EVP_CIPHER_CTX_free(ctx);
    return ok ? out.left(n + tail) : QByteArray();
}

// The file layout read without the program's code: u32 little-endian count, that many
// bytes of AES-128-ECB cipher text, zero padding, Base64 of the digests.
QByteArray decodeIndependently(const QByteArray& file) {
    if (file.size() < 4) return QByteArray();
    const quint32 count =
        quint8(file[0]) | quint8(file[1]) << 8 | quint8(file[2]) << 16 | quint32(quint8(file[3])) << 24;
    if (count != quint32(file.size() - 4) || count % 16 != 0) return QByteArray();
    QByteArray text = aesEcb(false, file.mid(4));
    while (text.endsWith('\0')) text.chop(1);
    return QByteArray::fromBase64(text);
}

QByteArray encodeIndependently(const QByteArray& digests) {
    QByteArray text = digests.toBase64();
    if (text.size() % 16) text.append(QByteArray(16 - text.size() % 16, '\0'));
    const QByteArray cipherText = aesEcb(true, text);
    const quint32 n = quint32(cipherText.size());
    QByteArray file;
    for (int i = 0; i < 4; ++i) file.append(char((n >> (8 * i)) & 0xff));
    return file + cipherText;
}

QByteArray fileBytes() {
    QFile f(PasswordFile::path());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFileBytes(const QByteArray& bytes) {
    QFile f(PasswordFile::path());
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

void usePasswords(const QString& tech, const QString& eng, const QString& sys) {
    writeFileBytes(encodeIndependently(md5(tech) + md5(eng) + md5(sys)));
}

template <class T> T* child(QObject* parent, const char* name) {
    T* w = parent->findChild<T*>(name);
    if (!w) qWarning("no widget %s", name);
    return w;
}

MainWindow1::Options drivenByTest() {
    MainWindow1::Options o;
    o.startWorkers = false;
    o.startTicks = false;
    o.startHousekeeping = false;
    return o;
}

} // namespace

class TestLogin : public QObject {
    Q_OBJECT
    QList<Prompt::Shown> shown;

    // Opens the login dialog, types the password as the operator does and clicks "登录".
    QPointer<Login1> loginWith(int account, const QString& password, QSignalSpy** spy = nullptr) {
        auto* dialog = new Login1;
        dialog->show();
        if (spy) *spy = new QSignalSpy(dialog, &Login1::S_dengluok);
        child<QComboBox>(dialog, "comboBox")->setCurrentIndex(account);
        QTest::keyClicks(child<QLineEdit>(dialog, "lineEdit"), password);
        QTest::mouseClick(child<QPushButton>(dialog, "pushButton_3"), Qt::LeftButton);
        return dialog;
    }
    // Logs in and reports the level reached, starting from nobody.
    int levelAfterLogin(int account, const QString& password) {
        userLevel = 0;
        QPointer<Login1> d = loginWith(account, password);
        const int level = userLevel;
        if (d) d->close();
        return level;
    }
    QPointer<Sysset> change(int account, const QString& oldPw, const QString& newPw, const QString& repeat) {
        auto* dialog = new Sysset;
        dialog->show();
        child<QComboBox>(dialog, "comboBox")->setCurrentIndex(account);
        QTest::keyClicks(child<QLineEdit>(dialog, "lineEdit"), oldPw);
        QTest::keyClicks(child<QLineEdit>(dialog, "lineEdit_2"), newPw);
        QTest::keyClicks(child<QLineEdit>(dialog, "lineEdit_3"), repeat);
        QTest::mouseClick(child<QPushButton>(dialog, "pushButton_2"), Qt::LeftButton);
        return dialog;
    }
    QString status(Sysset* d) { return child<QLabel>(d, "label_6")->text(); }

private slots:
    void initTestCase() {
        Q_INIT_RESOURCE(config);
        QCOMPARE(DataSetup::ensure(), QString());
        Prompt::setHandler([this](const Prompt::Shown& s) {
            shown << s;
            return false;
        });
    }
    void init() {
        shown.clear();
        userLevel = 0;
        QFile::remove(PasswordFile::path());
    }
    void cleanup() {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<Login1*>(w) || qobject_cast<Sysset*>(w)) delete w;
    }

    // ---- the file ----

    void fileWrittenByProgramDecodesIndependently() {
        QPointer<Sysset> d = change(1, kDefault, "neu", "neu");
        QCOMPARE(status(d), QString("修改成功"));
        const QByteArray file = fileBytes();
        // Base64 of 48 bytes is 64 characters, four whole blocks: no padding block.
        QCOMPARE(file.size(), 4 + 64);
        QCOMPARE(file.left(4), QByteArray("\x40\x00\x00\x00", 4));
        QCOMPARE(decodeIndependently(file), md5(kDefault) + md5("neu") + md5(kDefault));
    }

    void programReadsIndependentlyWrittenFile() {
        usePasswords("t-1", "e-2", "s-3");
        QCOMPARE(levelAfterLogin(0, "t-1"), 1);
        QCOMPARE(levelAfterLogin(1, "e-2"), 2);
        QCOMPARE(levelAfterLogin(2, "s-3"), 3);
        // Each password opens its own account only.
        QCOMPARE(levelAfterLogin(0, "e-2"), 0);
        QCOMPARE(levelAfterLogin(2, "t-1"), 0);
        QCOMPARE(levelAfterLogin(1, kDefault), 0);
    }

    void missingFileStartsWithDefaultPassword() {
        SimRig rig;
        QVERIFY(!QFile::exists(PasswordFile::path()));
        MainWindow1 w(nullptr, drivenByTest());
        QCOMPARE(decodeIndependently(fileBytes()), md5(kDefault) + md5(kDefault) + md5(kDefault));
        // The file is in the program's Config folder and nowhere else.
        QCOMPARE(PasswordFile::path(), Paths::configDir() + "/user_1.set");
        QVERIFY(!QDir::current().exists("APPINI"));
        QVERIFY(!QDir(Paths::root()).exists("APPINI"));
        // An existing file is left as it is.
        usePasswords("a", "b", "c");
        const QByteArray before = fileBytes();
        MainWindow1 again(nullptr, drivenByTest());
        QCOMPARE(fileBytes(), before);
    }

    void loginWithoutFileCreatesItFirst() {
        QCOMPARE(levelAfterLogin(2, kDefault), 3);
        QVERIFY(QFile::exists(PasswordFile::path()));
    }

    void resetGivesEveryAccountTheDefault() {
        usePasswords("a", "b", "c");
        QPointer<Sysset> d = change(2, kResetWord, kResetWord, kResetWord);
        QCOMPARE(status(d), QString("密码初始化成功！"));
        for (const char* f : {"lineEdit", "lineEdit_2", "lineEdit_3"})
            QVERIFY(child<QLineEdit>(d, f)->text().isEmpty());
        QCOMPARE(decodeIndependently(fileBytes()), md5(kDefault) + md5(kDefault) + md5(kDefault));
        for (int account = 0; account < 3; ++account) {
            QSignalSpy* spy = nullptr;
            userLevel = 0;
            QPointer<Login1> login = loginWith(account, kDefault, &spy);
            QCOMPARE(userLevel, account + 1);
            QCOMPARE(spy->count(), 1);
            QVERIFY(!login || !login->isVisible()); // closed after a good login
            delete spy;
        }
        QCOMPARE(levelAfterLogin(0, "a"), 0);
        QVERIFY(shown.isEmpty());
    }

    void changingEngineerKeepsTheOthersByteForByte() {
        usePasswords("a", "b", "c");
        const QByteArray before = decodeIndependently(fileBytes());
        QPointer<Sysset> d = change(1, "b", "newpass", "newpass");
        QCOMPARE(status(d), QString("修改成功"));
        for (const char* f : {"lineEdit", "lineEdit_2", "lineEdit_3"})
            QVERIFY(child<QLineEdit>(d, f)->text().isEmpty());
        const QByteArray after = decodeIndependently(fileBytes());
        QCOMPARE(after.size(), 48);
        QCOMPARE(after.mid(0, 16), before.mid(0, 16));
        QCOMPARE(after.mid(32, 16), before.mid(32, 16));
        QCOMPARE(after.mid(16, 16), md5("newpass"));
        // The system dialog and the login use the one file.
        QCOMPARE(levelAfterLogin(1, "newpass"), 2);
        QCOMPARE(levelAfterLogin(1, "b"), 0);
        QCOMPARE(levelAfterLogin(0, "a"), 1);
    }

    void changeChecksInOrder_data() {
        QTest::addColumn<int>("account");
        QTest::addColumn<QString>("oldPw");
        QTest::addColumn<QString>("newPw");
        QTest::addColumn<QString>("repeat");
        QTest::addColumn<QString>("warning");
        QTest::addColumn<QString>("status");
        QTest::newRow("old empty") << 0 << ""
                                   << "x"
                                   << "x"
                                   << "密码不能为空！"
                                   << " ";
        QTest::newRow("new empty") << 0 << "a"
                                   << ""
                                   << "x"
                                   << "密码不能为空！"
                                   << " ";
        QTest::newRow("repeat empty") << 0 << "a"
                                      << "x"
                                      << ""
                                      << "密码不能为空！"
                                      << " ";
        QTest::newRow("empty before differ") << 0 << ""
                                             << "x"
                                             << "y"
                                             << "密码不能为空！"
                                             << " ";
        QTest::newRow("differ") << 0 << "a"
                                << "x"
                                << "y"
                                << "新密码不同！"
                                << " ";
        QTest::newRow("differ before wrong old") << 0 << "zz"
                                                 << "x"
                                                 << "y"
                                                 << "新密码不同！"
                                                 << " ";
        QTest::newRow("wrong old") << 0 << "b"
                                   << "x"
                                   << "x"
                                   << ""
                                   << "密码错误";
        QTest::newRow("reset word in two fields only") << 0 << kResetWord << kResetWord << "x"
                                                       << "新密码不同！"
                                                       << " ";
        QTest::newRow("reset word as old password") << 2 << kResetWord << "x"
                                                    << "x"
                                                    << ""
                                                    << "密码错误";
    }
    void changeChecksInOrder() {
        QFETCH(int, account);
        QFETCH(QString, oldPw);
        QFETCH(QString, newPw);
        QFETCH(QString, repeat);
        QFETCH(QString, warning);
        QFETCH(QString, status);
        usePasswords("a", "b", "c");
        const QByteArray before = fileBytes();
        QPointer<Sysset> d = change(account, oldPw, newPw, repeat);
        QCOMPARE(this->status(d), status);
        if (warning.isEmpty()) {
            QVERIFY(shown.isEmpty());
        } else {
            QCOMPARE(shown.size(), 1);
            QCOMPARE(shown[0].kind, Prompt::Kind::Warning);
            QCOMPARE(shown[0].title, QString());
            QCOMPARE(shown[0].text, warning);
        }
        QCOMPARE(fileBytes(), before);
        // The fields keep what was typed.
        QCOMPARE(child<QLineEdit>(d, "lineEdit")->text(), oldPw);
        QCOMPARE(child<QLineEdit>(d, "lineEdit_3")->text(), repeat);
    }

    void masterPasswordOpensAndChanges() {
        usePasswords("a", "b", "c");
        for (int account = 0; account < 3; ++account)
            QCOMPARE(levelAfterLogin(account, kMaster[account]), account + 1);
        // A master password opens its own account only.
        QCOMPARE(levelAfterLogin(0, kMaster[2]), 0);
        QPointer<Sysset> d = change(0, kMaster[0], "fresh", "fresh");
        QCOMPARE(status(d), QString("修改成功"));
        QCOMPARE(levelAfterLogin(0, "fresh"), 1);
    }

    void wrongPasswordDropsTheLevel() {
        usePasswords("a", "b", "c");
        QCOMPARE(levelAfterLogin(1, "b"), 2);
        userLevel = 2;
        QSignalSpy* spy = nullptr;
        QPointer<Login1> d = loginWith(2, "b", &spy);
        QCOMPARE(userLevel, 0);
        QVERIFY(d && d->isVisible());
        QCOMPARE(child<QLabel>(d, "label_4")->text(), QString("密码错误"));
        QVERIFY(child<QLineEdit>(d, "lineEdit")->text().isEmpty());
        QCOMPARE(spy->count(), 1); // the title stops naming the user
        delete spy;
        // A good login after that succeeds and says so before closing.
        QTest::keyClicks(child<QLineEdit>(d, "lineEdit"), "c");
        QTest::mouseClick(child<QPushButton>(d, "pushButton_3"), Qt::LeftButton);
        QCOMPARE(userLevel, 3);
    }

    void emptyPasswordWarnsAndChangesNothing() {
        userLevel = 2;
        QSignalSpy* spy = nullptr;
        QPointer<Login1> d = loginWith(0, "", &spy);
        QCOMPARE(userLevel, 2);
        QCOMPARE(spy->count(), 0);
        delete spy;
        QVERIFY(d && d->isVisible());
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].kind, Prompt::Kind::Warning);
        QCOMPARE(shown[0].title, QString());
        QCOMPARE(shown[0].text, QString("密码不能为空!"));
        QVERIFY(child<QLabel>(d, "label_4")->text().isEmpty());
    }

    void logOutAndCloseInTheDialog() {
        userLevel = 3;
        auto* d = new Login1;
        d->show();
        QSignalSpy spy(d, &Login1::S_dengluok);
        QTest::keyClicks(child<QLineEdit>(d, "lineEdit"), "typed");
        QTest::mouseClick(child<QPushButton>(d, "pushButton_2"), Qt::LeftButton);
        QCOMPARE(userLevel, 0);
        QCOMPARE(spy.count(), 1);
        QVERIFY(!d->isVisible());

        userLevel = 1;
        auto* d2 = new Login1;
        d2->show();
        QTest::mouseClick(child<QPushButton>(d2, "pushButton"), Qt::LeftButton);
        QVERIFY(!d2->isVisible());
        QCOMPARE(userLevel, 1);
    }

    void damagedFileLetsOnlyMastersIn_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("accountsLeft"); // leading accounts whose stored digest survives
        const QByteArray good = encodeIndependently(md5(kDefault) + md5(kDefault) + md5(kDefault));
        QTest::newRow("empty") << QByteArray() << 0;
        QTest::newRow("truncated") << good.left(37) << 0;
        QTest::newRow("count only") << good.left(4) << 0;
        QTest::newRow("garbage") << QByteArray("\x13\x37\xde\xad\xbe\xef garbage that is no password file",
                                               38)
                                 << 0;
        QTest::newRow("huge count") << QByteArray("\xff\xff\xff\x7f", 4) + good.mid(4) << 0;
        QTest::newRow("not base64") << encodeIndependently(QByteArray()).left(0) +
                                           QByteArray("\x10\0\0\0", 4) +
                                           aesEcb(true, QByteArray("!!!!not*base64!!"))
                                    << 0;
        QTest::newRow("two digests") << encodeIndependently(md5(kDefault) + md5(kDefault)) << 2;
        QTest::newRow("one and a half") << encodeIndependently(md5(kDefault) + md5(kDefault).left(8)) << 1;
    }
    void damagedFileLetsOnlyMastersIn() {
        QFETCH(QByteArray, content);
        QFETCH(int, accountsLeft);
        writeFileBytes(content);
        for (int account = 0; account < 3; ++account) {
            QCOMPARE(levelAfterLogin(account, kDefault), account < accountsLeft ? account + 1 : 0);
            QCOMPARE(levelAfterLogin(account, kMaster[account]), account + 1);
        }
        // The file is kept as it was until someone changes or resets it.
        QCOMPARE(fileBytes(), content);
        // A change with the master password mends that account; the others stay as read.
        QPointer<Sysset> d = change(2, kMaster[2], "sys", "sys");
        QCOMPARE(status(d), QString("修改成功"));
        QCOMPARE(levelAfterLogin(2, "sys"), 3);
        QCOMPARE(levelAfterLogin(0, kDefault), accountsLeft > 0 ? 1 : 0);
        QCOMPARE(levelAfterLogin(1, kDefault), accountsLeft > 1 ? 2 : 0);
    }

    void tenCharactersAtMost() {
        auto* login = new Login1;
        auto* sys = new Sysset;
        QLineEdit* fields[] = {child<QLineEdit>(login, "lineEdit"), child<QLineEdit>(sys, "lineEdit"),
                               child<QLineEdit>(sys, "lineEdit_2"), child<QLineEdit>(sys, "lineEdit_3")};
        for (QLineEdit* f : fields) {
            QCOMPARE(f->echoMode(), QLineEdit::Password);
            QTest::keyClicks(f, "abcdefghijKL");
            QCOMPARE(f->text(), QString("abcdefghij"));
        }
        QCOMPARE(fields[0]->placeholderText(), QString("请输入密码"));
        delete login;
        delete sys;

        QPointer<Sysset> d = change(0, kDefault, "0123456789", "0123456789");
        QCOMPARE(status(d), QString("修改成功"));
        QCOMPARE(levelAfterLogin(0, "0123456789"), 1);
        QCOMPARE(levelAfterLogin(0, "012345678"), 0);
    }

    void failedWriteIsNotReportedAsChanged() {
        usePasswords("a", "b", "c");
        const QByteArray before = fileBytes();
        AtomicFile::interruptNextWriteForTest();
        QPointer<Sysset> d = change(1, "b", "new", "new");
        QCOMPARE(status(d), QString("密码文件写入失败！"));
        QCOMPARE(fileBytes(), before);
        QCOMPARE(child<QLineEdit>(d, "lineEdit_2")->text(), QString("new"));
        QCOMPARE(levelAfterLogin(1, "b"), 2);

        AtomicFile::interruptNextWriteForTest();
        QPointer<Sysset> r = change(0, kResetWord, kResetWord, kResetWord);
        QCOMPARE(status(r), QString("密码文件写入失败！"));
        QCOMPARE(fileBytes(), before);
    }

    // ---- the system dialog's other parts ----

    void systemDialogShowsVersionStepsAndSaves() {
        SimRig rig;
        auto* d = new Sysset;
        d->show();
        QCOMPARE(d->windowTitle(), QString("系统设置"));
        QVERIFY(d->testAttribute(Qt::WA_DeleteOnClose));
        QVERIFY(!(d->windowFlags() & Qt::WindowContextHelpButtonHint));
        QCOMPARE(child<QLineEdit>(d, "lineEdit_6")->text(), QString("QRLM01.01.001"));
        QCOMPARE(child<QPushButton>(d, "pushButton_63")->text(), QString("保存参数"));

        stepC = 12;
        stepA = 1000;
        stepB = 3;
        lineInStep = 40;
        emptyStep = 5;
        feederStep = 9999999;
        const char* boxes[] = {"doubleSpinBox",   "doubleSpinBox_2", "doubleSpinBox_3",
                               "doubleSpinBox_4", "doubleSpinBox_5", "doubleSpinBox_6"};
        const double expected[] = {12, 1000, 3, 40, 5, 9999999};
        rig.runFor(0.099);
        QCOMPARE(child<QDoubleSpinBox>(d, boxes[0])->value(), 0.0);
        rig.runFor(0.002);
        for (int i = 0; i < 6; ++i) {
            auto* box = child<QDoubleSpinBox>(d, boxes[i]);
            QVERIFY(box->isReadOnly());
            QCOMPARE(box->decimals(), 0);
            QCOMPARE(box->value(), expected[i]);
        }
        stepA = 1010;
        rig.runFor(0.1);
        QCOMPARE(child<QDoubleSpinBox>(d, boxes[1])->value(), 1010.0);
        stepC = stepA = stepB = lineInStep = emptyStep = feederStep = 0;

        // "保存参数" writes the parameter arrays without asking.
        gd[399] = 0.0;
        inivartofile();
        gd[399] = 42.0;
        QTest::mouseClick(child<QPushButton>(d, "pushButton_63"), Qt::LeftButton);
        gd[399] = 0.0;
        inifiletovar();
        QCOMPARE(gd[399], 42.0);
        gd[399] = 0.0;
        inivartofile();
        QVERIFY(shown.isEmpty());
        QTest::mouseClick(child<QPushButton>(d, "pushButton"), Qt::LeftButton);
        QVERIFY(!d->isVisible());
    }

    // ---- from the main window ----

    void mainWindowButtonsOpenTheDialogs() {
        SimRig rig;
        QFile f(Paths::configDir() + "/ProjectName.set");
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("demo\n");
        f.close();
        MainWindow1 w(nullptr, drivenByTest());
        w.show();
        QCOMPARE(w.windowTitle(), QString("Tavrin    当前配方：demo    当前用户："));

        child<QPushButton>(&w, "pushButton_9")->click();
        auto* login = w.findChild<Login1*>();
        QVERIFY(login && login->isVisible());
        QCOMPARE(login->windowTitle(), QString("用户登录"));
        QCOMPARE(login->parentWidget(), &w);
        child<QComboBox>(login, "comboBox")->setCurrentIndex(1);
        QTest::keyClicks(child<QLineEdit>(login, "lineEdit"), kDefault);
        QTest::mouseClick(child<QPushButton>(login, "pushButton_3"), Qt::LeftButton);
        QCOMPARE(userLevel, 2);
        QCOMPARE(w.windowTitle(), QString("Tavrin    当前配方：demo    当前用户：工程师"));

        child<QPushButton>(&w, "pushButton_23")->click();
        QCOMPARE(userLevel, 0);
        QCOMPARE(w.windowTitle(), QString("Tavrin    当前配方：demo    当前用户："));

        child<QPushButton>(&w, "pushButton_30")->click();
        auto* sys = w.findChild<Sysset*>();
        QVERIFY(sys && sys->isVisible());
        QCOMPARE(sys->parentWidget(), &w);
        QVERIFY(shown.isEmpty());
    }
};

QTEST_MAIN(TestLogin)
#include "tst_login.moc"
