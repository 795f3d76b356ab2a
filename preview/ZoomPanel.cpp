#include "preview/ZoomPanel.h"

#include "base/ErrorsIgnored.h"
#include "compose/Session.h"
#include "preview/PreviewLayout.h"
#include "preview/ZoomBox.h"
#include "render/PrinterDevice.h"
#include "widgets/AccessibleText.h"
#include "widgets/SelectAllText.h"
#include "widgets/Translation.h"

#include <QLabel>

#include <cmath>

namespace quillet {

using namespace preview_layout;

ZoomPanel::ZoomPanel(Session &listing, QWidget *parent) : QFrame(parent), m_listing(listing)
{
    makePanel(*this, "PZoom");
    resize(twipsToPixels(ZoomPanelWidth), twipsToPixels(ZoomPanelHeight));
    auto *caption = placed(new QLabel(this), "Label1", twipsRect(60, 120, 495, 195));
    m_zoomBox = new ZoomBox(this);
    m_zoomBox->setGeometry(twipsRect(600, 60, 615, 285));
    caption->setBuddy(m_zoomBox);
    m_zoomBox->setPercent(std::round(m_listing.state.Zoom * 100));
    translated(*this, [this, caption] {
        caption->setText(tr("Zoom"));
        m_zoomBox->setToolTip(tr("Zoom (+ e -, Ctrl+roda do rato; Ctrl+0 ajusta à janela)"));
        setAccessibleTexts({
            {caption, {}, tr("Legenda da caixa de zoom")},
            {m_zoomBox, tr("Zoom"),
             tr("Zoom em percentagem, de 10% a 200%; Enter aplica (Ctrl+0 ajusta à janela)")},
        });
    });
    connect(m_zoomBox, &ZoomBox::zoomEntered, this, guarded(this, &ZoomPanel::applyZoom));
}

void ZoomPanel::fitTo(QSize desk)
{
    const PrinterDevice *printer = m_listing.printer;
    if (!printer)
        return;
    const PrinterPage paper = printer->page();
    const qint64 deskWidthTwips = qint64(desk.width()) * TwipsPerPixel;
    const qint64 deskHeightTwips = qint64(desk.height()) * TwipsPerPixel;
    int percent = FitFromPercent;
    while (percent >= FitDownToPercent && !(qint64(percent) * paper.paperWidthTwips / 100 < deskWidthTwips &&
                                            qint64(percent) * paper.paperHeightTwips / 100 < deskHeightTwips))
        --percent;
    // Nothing fits: the count has run out at 9 %.
    m_listing.state.Zoom = static_cast<float>(percent) / 100;
    m_zoomBox->setPercent(percent);
    SelectAllText(*m_zoomBox);
}

void ZoomPanel::applyZoom(float zoom)
{
    ListingState &s = m_listing.state;
    if (zoom == s.Zoom)
        return;
    s.Zoom = zoom;
    emit zoomChanged();
}

void ZoomPanel::stepFor(Qt::MouseButton button)
{
    if (button != Qt::LeftButton && button != Qt::RightButton) {
        m_lastZoomButton = Qt::NoButton;
        return;
    }
    if (step(button == Qt::RightButton))
        m_lastZoomButton = button;
}

bool ZoomPanel::step(bool zoomIn)
{
    ListingState &s = m_listing.state;
    if (zoomIn) {
        if (s.Zoom == MaxZoom)
            return false;
        if (m_zoomBox->value() < MaxPercent)
            m_zoomBox->setPercent(m_zoomBox->value() + ZoomStepPercent);
        if (m_zoomBox->value() > MaxPercent)
            m_zoomBox->setPercent(MaxPercent);
    } else {
        if (s.Zoom == MinZoom)
            return false;
        if (m_zoomBox->value() > MinPercent)
            m_zoomBox->setPercent(m_zoomBox->value() - ZoomStepPercent);
        if (m_zoomBox->value() < MinPercent)
            m_zoomBox->setPercent(MinPercent);
    }
    s.Zoom = static_cast<float>(m_zoomBox->value()) / 100;
    emit zoomChanged();
    return true;
}

void ZoomPanel::repeatStep()
{
    stepFor(m_lastZoomButton);
    m_lastZoomButton = Qt::NoButton;
}

} // namespace quillet
