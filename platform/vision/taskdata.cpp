#include "taskdata.h"

#include "platform/Paths.h"
#include "platform/kzct.h"

#include <QMutexLocker>
#include <algorithm>

namespace {
constexpr int kDefaultTasks = 15;
}

taskdata* taskdata::GetInstance() {
    static taskdata instance;
    return &instance;
}

taskdata::taskdata() : m_records(kDefaultTasks), m_camNames({"cam1", "cam2"}) {}

void taskdata::setCamNum(int n) {
    m_camNum = qBound(1, n, 2);
}

void taskdata::setTaskNum(int n) {
    QMutexLocker lock(&m_mutex);
    m_records.resize(qBound(0, n, 64));
}

int taskdata::taskNum() const {
    QMutexLocker lock(&m_mutex);
    return m_records.size();
}

void taskdata::setCamNames(const QStringList& names) {
    QMutexLocker lock(&m_mutex);
    m_camNames = names;
}

QStringList taskdata::camNames() const {
    QMutexLocker lock(&m_mutex);
    return m_camNames;
}

void taskdata::setProjectName(const QString& name) {
    QMutexLocker lock(&m_mutex);
    m_projectName = name;
}

QString taskdata::projectName() const {
    QMutexLocker lock(&m_mutex);
    return m_projectName;
}

void taskdata::setProjectPath(const QString& path) {
    QMutexLocker lock(&m_mutex);
    m_projectPath = path;
}

QString taskdata::projectPath() const {
    QMutexLocker lock(&m_mutex);
    return m_projectPath;
}

QString taskdata::visionDir() const {
    QString path = projectPath();
    if (path.isEmpty()) {
        QString name = projectName();
        if (name.isEmpty()) {
            // Before the program told us, follow the same file it reads the recipe from.
            name = kzct::currentRecipeName();
        }
        if (name.isEmpty()) name = "default";
        path = Paths::recipesDir() + "/" + name;
    }
    return path + "/vision";
}

void taskdata::setUserLevel(int level, const QString& name) {
    m_userLevel = level;
    QMutexLocker lock(&m_mutex);
    m_userName = name;
}

QString taskdata::userName() const {
    QMutexLocker lock(&m_mutex);
    return m_userName;
}

void taskdata::setBusy(int i, int value) {
    if (i >= 0 && i < 2) m_busy[i] = value;
}

int taskdata::busy(int i) const {
    return (i >= 0 && i < 2) ? m_busy[i].load() : 0;
}

void taskdata::setValue(const QString& key, const QString& value) {
    QMutexLocker lock(&m_mutex);
    m_values.insert(key, value);
}

QString taskdata::value(const QString& key) const {
    QMutexLocker lock(&m_mutex);
    return m_values.value(key);
}

TaskRecord taskdata::record(int task) const {
    QMutexLocker lock(&m_mutex);
    return valid(task) ? m_records.at(task) : TaskRecord();
}

void taskdata::setRecord(int task, const TaskRecord& record) {
    QMutexLocker lock(&m_mutex);
    if (!valid(task)) return;
    const uint64_t run = m_records[task].runId; // a run under way still ends normally
    m_records[task] = record;
    m_records[task].runId = run;
}

int taskdata::status(int task) const {
    QMutexLocker lock(&m_mutex);
    return valid(task) ? m_records.at(task).status : TaskPending;
}

void taskdata::setStatus(int task, int status) {
    QMutexLocker lock(&m_mutex);
    if (valid(task)) m_records[task].status = status;
}

bool taskdata::readResult(int task, int* status, double* values50, QStringList* texts) const {
    QMutexLocker lock(&m_mutex);
    if (!valid(task)) return false;
    const TaskRecord& r = m_records.at(task);
    if (status) *status = r.status;
    if (values50) std::copy(r.values, r.values + TaskRecord::kValueCount, values50);
    if (texts) *texts = r.texts;
    return true;
}

void taskdata::beginRun(int task, int64_t nowUs, uint64_t runId) {
    QMutexLocker lock(&m_mutex);
    if (!valid(task)) return;
    TaskRecord& r = m_records[task];
    r.runId = runId;
    r.status = TaskPending;
    r.running = true;
    r.startUs = nowUs;
}

bool taskdata::finishRun(int task, const TaskRecord& result, int64_t nowUs, uint64_t runId) {
    QMutexLocker lock(&m_mutex);
    if (!valid(task) || m_records[task].runId != runId) return false;
    TaskRecord& r = m_records[task];
    std::copy(result.values, result.values + TaskRecord::kValueCount, r.values);
    r.texts = result.texts;
    r.image = result.image;
    r.overlay = result.overlay;
    r.regions = result.regions;
    r.marks = result.marks;
    r.running = false;
    r.endUs = nowUs;
    ++r.runs;
    // Readers poll the status; it goes last so that a reader seeing 1 or 2 sees the values too.
    r.status = result.status;
    return true;
}
