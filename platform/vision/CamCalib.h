#pragma once
// Nine-point calibration of one camera: pairs of image points (row, column) and
// axis positions (X, Y), and the affine map fitted to them by least squares.
#include <QJsonObject>
#include <QVector>

class CamCalib {
public:
    static constexpr int kMaxPoints = 10;

    // Takes n pairs (row[i], col[i]) -> (x[i], y[i]) and fits the map. False (and
    // nothing changed) when n < 3 or the image points do not span a plane.
    bool setPoints(const double* row, const double* col, const double* x, const double* y, int n);
    // Copies the stored pairs into the arrays (kMaxPoints each, rest zeroed); returns n.
    int points(double* row, double* col, double* x, double* y) const;
    int pointCount() const { return m_row.size(); }
    bool valid() const { return m_valid; }

    // Axis position at which the calibration mark would appear at image (col, row).
    void imageToAxis(double col, double row, double* x, double* y) const;
    // Millimetres per pixel along the image columns (mean of both axes).
    double mmPerPixel() const;
    // Worst distance between a stored axis position and its mapped image point, mm.
    double residual() const;

    QJsonObject toJson() const;
    bool fromJson(const QJsonObject& obj);

private:
    QVector<double> m_row, m_col, m_x, m_y;
    // x = a0 + a1 col + a2 row, y = b0 + b1 col + b2 row
    double m_a[3] = {0, 0, 0};
    double m_b[3] = {0, 0, 0};
    bool m_valid = false;
};
