#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace tarvexio {

// Arrow buttons beside a number box (the port's "ud_portFTP"): each press moves the number in
// the box one up or down within the range, and says so with stepped().
class UpDownButtons final : public QWidget {
    Q_OBJECT
public:
    static constexpr int Minimum = 1;
    static constexpr int Maximum = 65535;

    explicit UpDownButtons(QWidget* parent = nullptr);

    void setBuddy(QLineEdit* box) { box_ = box; }
    void step(int by);

signals:
    void stepped();

private:
    QLineEdit* box_ = nullptr;
    QToolButton* up_;
    QToolButton* down_;
};

} // namespace tarvexio
