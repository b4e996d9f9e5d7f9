#include "ui/matching/SelectNearestColorDialog.h"

#include "color/ColorScience.h"
#include "db/CollectionLookups.h"
#include "formats/ColorGrade.h"
#include "state/UserState.h"
#include "ui/chips/ColorTooltipText.h"
#include "ui/look/ProgramFont.h"

#include <QCheckBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QToolTip>

namespace Tintor {

SelectNearestColorDialog::SelectNearestColorDialog(const QColor &referenceColor,
                                                   const QVector<DB::ColorEntry> &candidates, QWidget *parent)
    : QDialog(parent)
    , m_referenceColor(referenceColor)
    , m_candidates(candidates.mid(0, kMaximumSwatches))
{
    const ColorTriple referenceLab = colorToLab(referenceColor);
    for (int i = 0; i < m_candidates.size(); ++i) {
        const DB::ColorEntry &entry = m_candidates.at(i);
        m_positionById.insert(entry.id, i);
        // The collection's own Lab, as the nearest search ranked it.
        m_differences.append(deltaE2000(referenceLab, { entry.labL, entry.labA, entry.labB }));
    }
    setMouseTracking(true);

    const QUuid collection = UserState::lastUsedCollection();
    setWindowTitle(DB::localizedString(collection, QStringLiteral("colormatcher.dialog.caption")));
    Qt::WindowFlags flags = windowFlags();
    flags &= ~(Qt::WindowContextHelpButtonHint | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint
               | Qt::MSWindowsFixedSizeDialogHint);
    setWindowFlags(flags | Qt::CustomizeWindowHint);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setFont(programFont(FontStyle::Normal, 2));

    m_instruction = new QLabel(DB::localizedString(collection, QStringLiteral("capsure.dialog.todo")), this);
    m_instruction->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    m_instruction->setStyleSheet(QStringLiteral(
        "color:rgb(240,240,240);background-color:rgb(123,123,123);border-color:rgb(255,255,255);"));
    m_instruction->setFrameStyle(QFrame::Box | QFrame::Plain);

    m_framedChips = new QCheckBox(this);
    m_framedChips->setChecked(true);
    connect(m_framedChips, &QCheckBox::toggled, this, &SelectNearestColorDialog::framedChipsStateChanged);

    setFixedSize(320, 200);
    // Lay out once before the dialog is first shown.
    QResizeEvent initial(size(), size());
    resizeEvent(&initial);
}

QRect SelectNearestColorDialog::swatchRect(const QSize &size, int fontHeight, int candidate)
{
    const int width = (size.width() - 80) / 3;
    const int height = (size.height() - fontHeight - 48) / 2;
    const int row = candidate / 3;
    const int column = candidate % 3;
    return QRect(32 + column * (width + 8), 16 + row * (height + 8), width, height);
}

QString SelectNearestColorDialog::swatchToolTip(int candidate) const
{
    if (candidate < 0 || candidate >= m_candidates.size())
        return QString();
    const QString description = colorTooltipText(UserState::lastUsedCollection(), m_candidates.at(candidate).id, true);
    if (description.isEmpty())
        return QString();
    return description
        + QStringLiteral("<div style=\"margin:2px;\">%1</div>")
              .arg(ColorGrade::describe(m_differences.at(candidate)).toHtmlEscaped());
}

QRect SelectNearestColorDialog::swatchRect(int candidate) const
{
    return candidate >= 0 && candidate < m_swatchRects.size() ? m_swatchRects.at(candidate) : QRect();
}

int SelectNearestColorDialog::swatchAt(const QPoint &position) const
{
    for (int i = 0; i < m_swatchRects.size(); ++i) {
        if (m_swatchRects.at(i).contains(position))
            return i;
    }
    return -1;
}

void SelectNearestColorDialog::framedChipsStateChanged(bool checked)
{
    Q_UNUSED(checked);
    update();
}

void SelectNearestColorDialog::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    const int w = width();
    const int h = height();
    const int fontHeight = fontMetrics().height();
    m_instruction->setGeometry(QRect(QPoint(-1, h - fontHeight - 8), QPoint(w, h)));
    const QSize hint = m_framedChips->sizeHint();
    m_framedChips->setGeometry(QRect(QPoint(0, h - fontHeight - 8 - hint.height()),
                                     QPoint(hint.width() - 1, h - fontHeight - 9)));
    m_swatchRects.clear();
    for (int i = 0; i < m_candidates.size(); ++i)
        m_swatchRects.append(swatchRect(size(), fontHeight, i));
}

void SelectNearestColorDialog::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event);
    QPainter painter(this);
    painter.fillRect(rect(), m_referenceColor);
    const bool framed = m_framedChips->isChecked();
    for (int i = 0; i < m_swatchRects.size(); ++i) {
        const DB::ColorEntry &entry = m_candidates.at(i);
        const QRect swatch = m_swatchRects.at(i);
        painter.fillRect(swatch, QColor(qBound(0, entry.red, 255), qBound(0, entry.green, 255),
                                        qBound(0, entry.blue, 255)));
        if (!framed)
            continue;
        // Two faint rounded rims around a plain dark frame.
        const QRect shrunk = swatch.adjusted(0, 0, -1, -1);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QColor(64, 64, 64, 24));
        painter.drawRoundedRect(shrunk.adjusted(-2, -2, 2, 2), 3, 3, Qt::AbsoluteSize);
        painter.setPen(QColor(64, 64, 64, 48));
        painter.drawRoundedRect(shrunk.adjusted(-1, -1, 1, 1), 2, 2, Qt::AbsoluteSize);
        painter.setPen(QColor(64, 64, 64));
        painter.drawRect(shrunk);
    }
}

void SelectNearestColorDialog::mousePressEvent(QMouseEvent *event)
{
    if (event->buttons() != Qt::LeftButton)
        return;
    const int candidate = swatchAt(event->position().toPoint());
    if (candidate < 0)
        return;
    m_chosenEntry = m_candidates.at(candidate);
    accept();
}

void SelectNearestColorDialog::mouseMoveEvent(QMouseEvent *event)
{
    const int candidate = swatchAt(event->position().toPoint());
    QString text;
    QPoint point;
    if (candidate >= 0) {
        setCursor(Qt::PointingHandCursor);
        const QRect swatch = m_swatchRects.at(candidate);
        text = swatchToolTip(candidate);
        point = QPoint(swatch.right(), swatch.top() + swatch.height() / 2);
    } else {
        setCursor(Qt::ArrowCursor);
    }
    if (!point.isNull() && !text.isEmpty())
        QToolTip::showText(mapToGlobal(point), text, this);
    else
        QToolTip::hideText();
}

} // namespace Tintor
