#include "ui/palette/MyPaletteFullWidget.h"

#include "state/UserState.h"
#include "ui/look/ImageButton.h"
#include "ui/look/ProgramFont.h"
#include "ui/look/Theme.h"
#include "ui/look/VestrelCustomStyle.h"
#include "ui/palette/PaletteChips.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QSlider>
#include <QUndoStack>

namespace Tintor {

namespace {

constexpr int kGridMargin = 64;
constexpr double kCellAspect = 1.8;
constexpr int kSliderWidth = 256;
const QColor kOutlineColor(176, 176, 176);

} // namespace

MyPaletteFullWidget::MyPaletteFullWidget(QWidget *parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setFont(programFont(FontStyle::Normal, 3));

    m_barImage = themeImage(ThemeItem::BarBackground, QSize(30, 30));

    const QImage backImage = themeImage(ThemeItem::MyPaletteFullBack, QSize(16, 16));
    m_backButton = new ImageButton(backImage, backImage, this);
    m_backButton->setFixedSize(backImage.size() + QSize(2, 2));

    m_backgroundSlider = new QSlider(Qt::Horizontal, this);
    m_backgroundSlider->setRange(0, 255);
    m_backgroundSlider->setInvertedAppearance(true);
    m_backgroundSlider->setPageStep(10);
    const int stored = UserState::myPaletteFullBackgroundColor();
    m_backgroundSlider->setValue(stored >= 0 && stored <= 255 ? stored : kDefaultBackground);

    m_sliderStyle = new VestrelCustomStyle;
    m_sliderStyle->setParent(this);
    m_sliderStyle->grooveImage = themeImage(ThemeItem::MyPaletteFullSliderBackground, QSize(21, 7));
    // No wanted size: a missing mask is no mask rather than a placeholder.
    m_sliderStyle->grooveMask = themeImage(ThemeItem::MyPaletteFullSliderBackgroundMask, QSize());
    m_sliderStyle->handleImage = themeImage(ThemeItem::MyPaletteFullSliderThumb, QSize(21, 7));
    m_backgroundSlider->setStyle(m_sliderStyle);

    connect(m_backButton, &QAbstractButton::clicked, this, &MyPaletteFullWidget::backClicked);
    connect(m_backgroundSlider, &QSlider::valueChanged, this, &MyPaletteFullWidget::backgroundColorSliderValueChanged);
}

MyPaletteFullWidget::~MyPaletteFullWidget()
{
    // The slider uses the style until it goes; it must go first.
    delete m_backgroundSlider;
}

void MyPaletteFullWidget::selectedCollectionChanged(QUuid)
{
    update();
}

void MyPaletteFullWidget::setUndoStack(QUndoStack *stack)
{
    connect(stack, &QUndoStack::indexChanged, this, qOverload<>(&QWidget::update));
}

void MyPaletteFullWidget::backClicked()
{
    m_shownColor = Qt::transparent;
    Q_EMIT backButtonClicked();
}

void MyPaletteFullWidget::backgroundColorSliderValueChanged(int value)
{
    UserState::setMyPaletteFullBackgroundColor(value);
    update();
}

QSize MyPaletteFullWidget::cellSizeFor(const QSize &size)
{
    const int width = (size.width() - 2 * kGridMargin) / kColumnCount;
    return QSize(width, int(width / kCellAspect));
}

QRect MyPaletteFullWidget::gridRectFor(const QSize &size, int barHeight)
{
    const QSize cell = cellSizeFor(size);
    const int gridHeight = kRowCount * cell.height();
    // Centred between the bar's last row and the bottom.
    const int top = (barHeight - 1) + (size.height() - barHeight + 1 - gridHeight) / 2;
    return QRect(kGridMargin, top, kColumnCount * cell.width(), gridHeight);
}

void MyPaletteFullWidget::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const int width = this->width();
    const int barHeight = m_barImage.height();
    m_barRect = QRect(0, 0, width, barHeight);

    const int buttonOffset = (barHeight - m_backButton->height()) / 2;
    m_backButton->move(buttonOffset, buttonOffset);

    const int sliderHeight = m_backgroundSlider->sizeHint().height();
    const int margin = (barHeight - sliderHeight) / 2;
    m_backgroundSlider->setGeometry(width - margin - kSliderWidth, margin, kSliderWidth, sliderHeight);

    const QSize cell = cellSizeFor(size());
    m_cellWidth = cell.width();
    m_cellHeight = cell.height();
    m_gridRect = gridRectFor(size(), barHeight);
}

QRect MyPaletteFullWidget::cellRect(const QPoint &cell) const
{
    if (!m_gridBounds.contains(cell))
        return QRect();
    return QRect(m_gridRect.left() + cell.x() * m_cellWidth, m_gridRect.top() + cell.y() * m_cellHeight,
                 m_cellWidth, m_cellHeight);
}

QPoint MyPaletteFullWidget::cellAt(const QPoint &position) const
{
    if (!m_gridRect.contains(position) || m_cellWidth <= 0 || m_cellHeight <= 0)
        return QPoint(-1, -1);
    return QPoint((position.x() - m_gridRect.left()) / m_cellWidth, (position.y() - m_gridRect.top()) / m_cellHeight);
}

QColor MyPaletteFullWidget::storedCellColor(const QPoint &cell)
{
    const DB::ItemIndex item = UserState::myPaletteEntry(cell.y(), cell.x());
    DB::ColorEntry chip;
    if (item.colorId > 0 && PaletteChips::loadChip(item, chip) == 0)
        return QColor(chip.red, chip.green, chip.blue);
    return QColor();
}

void MyPaletteFullWidget::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, false);
    const int grey = m_backgroundSlider->value();
    painter.fillRect(rect(), QColor(grey, grey, grey));

    if (event->region().intersects(m_barRect) && !m_barImage.isNull()) {
        for (int x = 0; x < width(); x += m_barImage.width())
            painter.drawImage(x, 0, m_barImage);
    }

    if (m_shownColor != QColor(Qt::transparent)) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(m_shownColor);
        painter.drawRect(m_gridRect);
        return;
    }

    const QRect grid = m_gridRect;
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QColor(176, 176, 176, 24));
    painter.drawRoundedRect(QRectF(QPointF(grid.left() - 2, grid.top() - 2), QPointF(grid.right() + 3, grid.bottom() + 3)),
                            3.0, 3.0);
    painter.setPen(QColor(176, 176, 176, 64));
    painter.drawRoundedRect(QRectF(QPointF(grid.left() - 1, grid.top() - 1), QPointF(grid.right() + 2, grid.bottom() + 2)),
                            2.0, 2.0);
    painter.setPen(QColor(176, 176, 176, 192));
    painter.drawRect(QRectF(QPointF(grid.left(), grid.top()), QPointF(grid.right() + 1, grid.bottom() + 1)));

    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(kOutlineColor);
    for (int row = 0; row < kRowCount; ++row) {
        for (int column = 0; column < kColumnCount; ++column) {
            const QPoint cell(column, row);
            const QRect rect = cellRect(cell);
            if (!event->region().intersects(rect.adjusted(0, 0, 1, 1)))
                continue;
            const QColor color = storedCellColor(cell);
            painter.setBrush(color.isValid() ? color : QColor(Qt::white));
            painter.drawRect(rect);
        }
    }
}

void MyPaletteFullWidget::mousePressEvent(QMouseEvent *event)
{
    if (m_shownColor == QColor(Qt::transparent)) {
        const QPoint cell = cellAt(event->position().toPoint());
        if (m_gridBounds.contains(cell)) {
            const QColor color = storedCellColor(cell);
            if (color.isValid())
                m_shownColor = color;
        }
    } else {
        m_shownColor = Qt::transparent;
    }
    update();
}

} // namespace Tintor
