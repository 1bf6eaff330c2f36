#include "CamCalib.h"

#include <QJsonArray>
#include <algorithm>
#include <cmath>

namespace {
// Solves the 3x3 system m * r = v by Cramer's rule; false when singular.
bool solve3(const double m[3][3], const double v[3], double r[3]) {
    auto det = [](const double a[3][3]) {
        return a[0][0] * (a[1][1] * a[2][2] - a[1][2] * a[2][1]) -
               a[0][1] * (a[1][0] * a[2][2] - a[1][2] * a[2][0]) +
               a[0][2] * (a[1][0] * a[2][1] - a[1][1] * a[2][0]);
    };
    const double d = det(m);
    double scale = 0;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) scale = std::max(scale, std::fabs(m[i][j]));
    if (scale == 0 || std::fabs(d) < 1e-12 * scale * scale * scale) return false;
    for (int k = 0; k < 3; ++k) {
        double a[3][3];
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j) a[i][j] = (j == k) ? v[i] : m[i][j];
        r[k] = det(a) / d;
    }
    return true;
}
} // namespace

bool CamCalib::setPoints(const double* row, const double* col, const double* x, const double* y, int n) {
    if (!row || !col || !x || !y || n < 3 || n > kMaxPoints) return false;
    // Normal equations of the least-squares fit; the points are centred first so that
    // pixel coordinates of several hundred keep the system well conditioned.
    double mc = 0, mr = 0;
    for (int i = 0; i < n; ++i) {
        mc += col[i];
        mr += row[i];
    }
    mc /= n;
    mr /= n;
    double m[3][3] = {};
    double vx[3] = {}, vy[3] = {};
    for (int i = 0; i < n; ++i) {
        const double f[3] = {1.0, col[i] - mc, row[i] - mr};
        for (int a = 0; a < 3; ++a) {
            for (int b = 0; b < 3; ++b) m[a][b] += f[a] * f[b];
            vx[a] += f[a] * x[i];
            vy[a] += f[a] * y[i];
        }
    }
    double a[3], b[3];
    if (!solve3(m, vx, a) || !solve3(m, vy, b)) return false;
    m_a[0] = a[0] - a[1] * mc - a[2] * mr;
    m_a[1] = a[1];
    m_a[2] = a[2];
    m_b[0] = b[0] - b[1] * mc - b[2] * mr;
    m_b[1] = b[1];
    m_b[2] = b[2];
    m_row = QVector<double>(row, row + n);
    m_col = QVector<double>(col, col + n);
    m_x = QVector<double>(x, x + n);
    m_y = QVector<double>(y, y + n);
    m_valid = true;
    return true;
}

int CamCalib::points(double* row, double* col, double* x, double* y) const {
    for (int i = 0; i < kMaxPoints; ++i) {
        const bool have = i < m_row.size();
        if (row) row[i] = have ? m_row[i] : 0.0;
        if (col) col[i] = have ? m_col[i] : 0.0;
        if (x) x[i] = have ? m_x[i] : 0.0;
        if (y) y[i] = have ? m_y[i] : 0.0;
    }
    return m_row.size();
}

void CamCalib::imageToAxis(double col, double row, double* x, double* y) const {
    if (x) *x = m_a[0] + m_a[1] * col + m_a[2] * row;
    if (y) *y = m_b[0] + m_b[1] * col + m_b[2] * row;
}

double CamCalib::mmPerPixel() const {
    if (!m_valid) return 0.0;
    const double sc = std::hypot(m_a[1], m_b[1]);
    const double sr = std::hypot(m_a[2], m_b[2]);
    return (sc + sr) / 2.0;
}

double CamCalib::residual() const {
    double worst = 0;
    for (int i = 0; i < m_row.size(); ++i) {
        double x, y;
        imageToAxis(m_col[i], m_row[i], &x, &y);
        worst = std::max(worst, std::hypot(x - m_x[i], y - m_y[i]));
    }
    return worst;
}

QJsonObject CamCalib::toJson() const {
    auto arr = [](const QVector<double>& v) {
        QJsonArray a;
        for (double d : v) a.append(d);
        return a;
    };
    QJsonObject obj;
    obj["row"] = arr(m_row);
    obj["col"] = arr(m_col);
    obj["x"] = arr(m_x);
    obj["y"] = arr(m_y);
    // The fitted map, for whoever reads the file; it is refitted on load.
    obj["mapX"] = QJsonArray{m_a[0], m_a[1], m_a[2]};
    obj["mapY"] = QJsonArray{m_b[0], m_b[1], m_b[2]};
    return obj;
}

bool CamCalib::fromJson(const QJsonObject& obj) {
    const QJsonArray r = obj.value("row").toArray(), c = obj.value("col").toArray(),
                     x = obj.value("x").toArray(), y = obj.value("y").toArray();
    const int n = r.size();
    if (n > kMaxPoints || c.size() != n || x.size() != n || y.size() != n) return false;
    double vr[kMaxPoints], vc[kMaxPoints], vx[kMaxPoints], vy[kMaxPoints];
    for (int i = 0; i < n; ++i) {
        if (!r[i].isDouble() || !c[i].isDouble() || !x[i].isDouble() || !y[i].isDouble()) return false;
        vr[i] = r[i].toDouble();
        vc[i] = c[i].toDouble();
        vx[i] = x[i].toDouble();
        vy[i] = y[i].toDouble();
    }
    return setPoints(vr, vc, vx, vy, n);
}
