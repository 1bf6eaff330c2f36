#pragma once
// Shared task data of the vision library: the settings the program hands over
// and one TaskRecord per task. Reached through taskdata::GetInstance().
//
// The program calls, at start: setCamNum(2), setTaskNum(15), setCamNames({"上相机", "下相机"});
// on recipe load: setProjectName(name), setProjectPath(folder); on login, logout and recipe
// load: setUserLevel(level, name); on mode changes: setManual(0/1); before each taskexec:
// setBusy(0, 0), setBusy(1, 0) and, when manual() is 1, setCurrentTask(task).
//
// Records are written by the library's timer thread and read from any thread: every
// access copies under one mutex, and a finishing task writes its status last.
#include "platform/vision/TaskRecord.h"

#include <QMap>
#include <QMutex>
#include <QString>
#include <QStringList>
#include <QVector>
#include <atomic>

class taskdata {
public:
    static taskdata* GetInstance();

    void setCamNum(int n);
    int camNum() const { return m_camNum; }
    // Resizes the task list; new records are empty and pending.
    void setTaskNum(int n);
    int taskNum() const;
    void setCamNames(const QStringList& names);
    QStringList camNames() const;

    void setProjectName(const QString& name);
    QString projectName() const;
    void setProjectPath(const QString& path);
    QString projectPath() const;
    // Folder of the current recipe's vision files: the project path, else the recipe
    // named by the project name (or by Config/ProjectName.set) below the recipes folder.
    QString visionDir() const;

    void setUserLevel(int level, const QString& name = QString());
    int userLevel() const { return m_userLevel; }
    QString userName() const;

    // 1 while the machine is in manual mode.
    void setManual(int manual) { m_manual = manual; }
    int manual() const { return m_manual; }

    // Busy word i (0: upper camera, 1: lower camera) is 1 while a task of that camera runs.
    void setBusy(int i, int value);
    int busy(int i) const;

    void setCurrentTask(int task) { m_currentTask = task; }
    int currentTask() const { return m_currentTask; }

    // String settings; "saveimgcode" names the saved images of the current product.
    void setValue(const QString& key, const QString& value);
    QString value(const QString& key) const;

    // Task list. Out-of-range tasks read as an empty record and ignore writes.
    TaskRecord record(int task) const;
    void setRecord(int task, const TaskRecord& record);
    int status(int task) const;
    void setStatus(int task, int status);
    // Cheap read for polling loops: status, the 50 values and the texts.
    bool readResult(int task, int* status, double* values50, QStringList* texts) const;

    // Library side: a run starts (status 0, running) / ends (all data, then the status).
    // finishRun does nothing (false) when another run of the task was started since.
    void beginRun(int task, int64_t nowUs, uint64_t runId);
    bool finishRun(int task, const TaskRecord& result, int64_t nowUs, uint64_t runId);

private:
    taskdata();
    bool valid(int task) const { return task >= 0 && task < m_records.size(); }

    mutable QMutex m_mutex;
    QVector<TaskRecord> m_records;
    QStringList m_camNames;
    QString m_projectName, m_projectPath, m_userName;
    QMap<QString, QString> m_values;
    std::atomic<int> m_camNum{2};
    std::atomic<int> m_userLevel{0};
    std::atomic<int> m_manual{0};
    std::atomic<int> m_currentTask{0};
    std::atomic<int> m_busy[2] = {{0}, {0}};
};
