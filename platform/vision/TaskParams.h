#pragma once
// The vision settings of the current recipe: one TaskParam per task plus the
// library-wide switches. Edited by CVMainWindow, read by every task run.
#include "platform/vision/TaskParam.h"

#include <QMutex>
#include <QString>
#include <QVector>

class TaskParams {
public:
    static TaskParams* GetInstance();
    static constexpr const char* kFileName = "cvpara.json";

    TaskParam param(int task) const;
    void setParam(int task, const TaskParam& param);
    void setSaveImages(bool on);
    bool saveImages() const;
    // Back to the defaults of every task.
    void reset();

    // Loads dir/cvpara.json. A missing file gives the defaults (true). A file that
    // cannot be read changes nothing, is kept aside as cvpara.json.bad, and returns
    // false with the reason in *error.
    bool load(const QString& dir, QString* error);
    // The same from the file's content; false (and why) changes nothing.
    bool loadText(const QByteArray& text, QString* why);
    // Writes dir/cvpara.json atomically; false with the reason in *error.
    bool save(const QString& dir, QString* error) const;

private:
    TaskParams();
    void grow(int task) const;

    mutable QMutex m_mutex;
    mutable QVector<TaskParam> m_params;
    bool m_saveImages = true;
};
