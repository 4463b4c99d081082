#pragma once
// One axis of a chart with the limit rules of the chart component the program
// was designed around: a maximum below the minimum, or a minimum above the
// maximum, is refused (equal limits are allowed). Callers set limits in an
// order that keeps them valid ("minimum -9999, then maximum, then minimum").
#include <stdexcept>

class QCPAxis;

class ChartAxis {
public:
    // The refusal, with the component's own wording.
    class LimitError : public std::runtime_error {
    public:
        using std::runtime_error::runtime_error;
    };

    ChartAxis() = default;
    explicit ChartAxis(QCPAxis *axis) : m_axis(axis) {}

    bool isNull() const { return m_axis == nullptr; }
    QCPAxis *axis() const { return m_axis; }

    double minimum() const;
    double maximum() const;

    // Throw LimitError and leave the axis as it was when refused.
    void setMinimum(double value);
    void setMaximum(double value);
    // Both at once; refused when min > max.
    void setMinMax(double min, double max);

    // The same, reporting a refusal as false.
    bool trySetMinimum(double value) noexcept;
    bool trySetMaximum(double value) noexcept;

    // Sets both in whichever order the component accepts (never refused for min <= max).
    bool setLimitsInSafeOrder(double min, double max) noexcept;

    // Moves both limits by delta.
    void scroll(double delta);

    static const char *minimumError() { return "Axis Minimum Value must be <= Maximum"; }
    static const char *maximumError() { return "Axis Maximum Value must be >= Minimum"; }

private:
    void apply(double min, double max);

    QCPAxis *m_axis = nullptr;
};
