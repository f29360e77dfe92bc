#include "forms/up_down_buttons.h"

#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace tarvexio {

UpDownButtons::UpDownButtons(QWidget* parent)
    : QWidget(parent)
    , up_(new QToolButton(this))
    , down_(new QToolButton(this))
{
    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    for (QToolButton* arrow : {up_, down_}) {
        arrow->setFixedSize(18, 11);
        arrow->setAutoRepeat(true);
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(up_);
    layout->addWidget(down_);
    connect(up_, &QToolButton::clicked, this, [this] { step(1); });
    connect(down_, &QToolButton::clicked, this, [this] { step(-1); });
}

void UpDownButtons::step(int by)
{
    if (box_ == nullptr)
        return;
    bool isNumber = false;
    const int current = box_->text().trimmed().toInt(&isNumber);
    const int next = std::clamp(isNumber ? current + by : Minimum, Minimum, Maximum);
    box_->setText(QString::number(next));
    emit stepped();
}

} // namespace tarvexio
