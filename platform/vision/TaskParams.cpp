#include "TaskParams.h"

#include "platform/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMutexLocker>

namespace {
constexpr int kMaxTasks = 64;
constexpr int kFormat = 1;
} // namespace

TaskParams* TaskParams::GetInstance() {
    static TaskParams instance;
    return &instance;
}

TaskParams::TaskParams() {
    grow(14);
}

void TaskParams::grow(int task) const {
    while (m_params.size() <= task && m_params.size() < kMaxTasks)
        m_params.append(TaskParam::defaults(m_params.size()));
}

TaskParam TaskParams::param(int task) const {
    QMutexLocker lock(&m_mutex);
    if (task < 0 || task >= kMaxTasks) return TaskParam::defaults(task);
    grow(task);
    return m_params.at(task);
}

void TaskParams::setParam(int task, const TaskParam& param) {
    QMutexLocker lock(&m_mutex);
    if (task < 0 || task >= kMaxTasks) return;
    grow(task);
    m_params[task] = param;
}

void TaskParams::setSaveImages(bool on) {
    QMutexLocker lock(&m_mutex);
    m_saveImages = on;
}

bool TaskParams::saveImages() const {
    QMutexLocker lock(&m_mutex);
    return m_saveImages;
}

void TaskParams::reset() {
    QMutexLocker lock(&m_mutex);
    const int n = m_params.size();
    m_params.clear();
    grow(n - 1);
    m_saveImages = true;
}

bool TaskParams::load(const QString& dir, QString* error) {
    const QString path = dir + "/" + kFileName;
    QFile file(path);
    if (!file.exists()) {
        reset();
        return true;
    }
    auto reject = [&](const QString& why) {
        if (error)
            *error = QString("视觉参数文件 %1 无法读取：%2（已另存为 %3.bad，参数未改变）")
                         .arg(path, why, kFileName);
        file.close();
        AtomicFile::copy(path, path + ".bad");
        return false;
    };
    if (!file.open(QIODevice::ReadOnly)) return reject(file.errorString());
    QString why;
    if (!loadText(file.readAll(), &why)) return reject(why);
    return true;
}

bool TaskParams::loadText(const QByteArray& text, QString* why) {
    auto reject = [&](const QString& reason) {
        *why = reason;
        return false;
    };
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(text, &parseError);
    if (doc.isNull()) return reject(parseError.errorString());
    if (!doc.isObject()) return reject("内容不是 JSON 对象");
    const QJsonObject root = doc.object();
    if (root.value("format").toInt() != kFormat) return reject("格式版本不符");

    // Parse everything into a copy first so that a bad entry changes nothing.
    QVector<TaskParam> next;
    for (int t = 0; t < kMaxTasks; ++t) next.append(TaskParam::defaults(t));
    const QJsonArray tasks = root.value("tasks").toArray();
    int count = 15;
    for (const QJsonValue& v : tasks) {
        const QJsonObject obj = v.toObject();
        const int task = obj.value("task").toInt(-1);
        if (task < 0 || task >= kMaxTasks)
            return reject(QString("任务号 %1 无效").arg(obj.value("task").toVariant().toString()));
        QString bad;
        if (!next[task].fromJson(obj, &bad)) return reject(QString("任务 %1：%2").arg(task).arg(bad));
        count = qMax(count, task + 1);
    }
    QMutexLocker lock(&m_mutex);
    next.resize(qMax(m_params.size(), count));
    m_params = next;
    m_saveImages = root.value("saveImages").toBool(true);
    return true;
}

bool TaskParams::save(const QString& dir, QString* error) const {
    QJsonArray tasks;
    bool saveImg;
    {
        QMutexLocker lock(&m_mutex);
        for (int t = 0; t < m_params.size(); ++t) {
            QJsonObject obj = m_params.at(t).toJson();
            obj["task"] = t;
            obj["name"] = m_params.at(t).name; // for the reader of the file only
            tasks.append(obj);
        }
        saveImg = m_saveImages;
    }
    QJsonObject root;
    root["format"] = kFormat;
    root["saveImages"] = saveImg;
    root["tasks"] = tasks;

    if (!QDir().mkpath(dir)) {
        if (error) *error = QString("无法创建文件夹 %1").arg(dir);
        return false;
    }
    QString why;
    if (!AtomicFile::write(dir + "/" + kFileName, QJsonDocument(root).toJson(), &why)) {
        if (error) *error = QString("视觉参数保存失败：%1").arg(why);
        return false;
    }
    return true;
}
