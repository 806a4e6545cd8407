#include "photo_page.h"

#include "panel_slot.h"
#include "picture_canvas.h"
#include "picture_fit.h"
#include "picture_view.h"
#include "twips.h"
#include "workspace_icons.h"
#include "workspace_state.h"

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QResizeEvent>
#include <QScrollBar>
#include <QTabWidget>
#include <QTimer>

namespace verdalis {

namespace {

constexpr int HintIntervalMs = 300;
// Width of the leaf area box, twips.
constexpr int Text2Width = 1800;
// The viewport keeps at least this many pixels from the page's top and left edge
// whatever height the style gives the row of tabs.
constexpr int PageEdgePixels = 4;

std::array<QPixmap, OpenPictureHint::FrameCount> hintFrames()
{
    std::array<QPixmap, OpenPictureHint::FrameCount> frames;
    for (int i = 0; i < OpenPictureHint::FrameCount; ++i)
        frames[i] = WorkspaceIcons::hintFrame(i);
    return frames;
}

QSizeF twipsSize(const QWidget *widget)
{
    return {twipsFromPixels(widget->width()), twipsFromPixels(widget->height())};
}

QLabel *namedLabel(const QString &name, const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

} // namespace

PhotoPage::PhotoPage(PictureCanvas &canvas, WorkspaceState &state, QWidget *parent)
    : QWidget(parent), Picture3(new QWidget(this)), Picture1(new PictureView(canvas, Picture3)),
      Picture5(new QLabel(Picture3)), Picture4(hintFrames()), Timer4(new QTimer(this)),
      HScroll2(new QScrollBar(Qt::Horizontal, this)), VScroll2(new QScrollBar(Qt::Vertical, this)),
      Bar1(new QProgressBar(this)),
      Label10(namedLabel(QStringLiteral("Label10"), QStringLiteral("Leaf area:"), this)),
      Text2(new QLineEdit(this)),
      Label15(namedLabel(QStringLiteral("Label15"), QStringLiteral("Unit"), this)),
      Label17(namedLabel(QStringLiteral("Label17"), QStringLiteral("2"), this)),
      measurementsSlot(new PanelSlot(QSize(pixelsFromTwips(MainWindowLayout::RightStripWidth),
                                           pixelsFromTwips(MainWindowLayout::RightStripHeight)),
                                     this)),
      customDetectionSlot(new PanelSlot(measurementsSlot->size(), this))
{
    setObjectName(QStringLiteral("photoPage"));
    Picture3->setObjectName(QStringLiteral("Picture3"));
    Picture5->setObjectName(QStringLiteral("Picture5"));
    Timer4->setObjectName(QStringLiteral("Timer4"));
    HScroll2->setObjectName(QStringLiteral("HScroll2"));
    VScroll2->setObjectName(QStringLiteral("VScroll2"));
    Bar1->setObjectName(QStringLiteral("Bar1"));
    Text2->setObjectName(QStringLiteral("Text2"));
    measurementsSlot->setObjectName(QStringLiteral("measurementsSlot"));
    customDetectionSlot->setObjectName(QStringLiteral("customDetectionSlot"));

    // A neutral grey around the picture, so leaves on black or white backgrounds
    // both stand out from it.
    QPalette viewport = Picture3->palette();
    viewport.setColor(QPalette::Window, QColor(104, 108, 112));
    Picture3->setPalette(viewport);
    Picture3->setAutoFillBackground(true);

    Picture1->hide();
    Picture5->setFixedSize(Picture4[0].size());
    Picture5->setPixmap(Picture4[0]);

    HScroll2->setRange(0, 0);
    VScroll2->setRange(0, 0);
    Bar1->setTextVisible(false);
    Bar1->hide();
    Text2->setReadOnly(true);
    Text2->setFixedSize(pixelsFromTwips(Text2Width), Text2->sizeHint().height());
    Label10->setFixedHeight(Text2->height());
    Label15->setFixedHeight(Text2->height());
    QFont raised = Label17->font();
    if (raised.pointSizeF() > 0)
        raised.setPointSizeF(raised.pointSizeF() * 0.7);
    else
        raised.setPixelSize(qMax(6, raised.pixelSize() * 7 / 10));
    Label17->setFont(raised);
    Label17->adjustSize();
    customDetectionSlot->hide();

    connect(Timer4, &QTimer::timeout, this, &PhotoPage::Timer4_Timer);
    connect(HScroll2, &QScrollBar::valueChanged, this, &PhotoPage::HScroll2_Change);
    connect(VScroll2, &QScrollBar::valueChanged, this, &PhotoPage::VScroll2_Change);
    connect(&state, &WorkspaceState::unitNameChanged, this, &PhotoPage::setAreaUnit);
    Timer4->start(HintIntervalMs);
}

bool PhotoPage::isHintRunning() const
{
    return Timer4->isActive();
}

void PhotoPage::setAreaUnit(const QString &unit)
{
    Label15->setText(unit);
    placeUnitSuperscript();
}

void PhotoPage::Timer4_Timer()
{
    m_hintFrameShown = m_hint.step();
    Picture5->setPixmap(Picture4[m_hintFrameShown]);
}

void PhotoPage::showPicture()
{
    Timer4->stop();
    Picture5->hide();
    Picture1->show();
}

void PhotoPage::HScroll2_Change(int value)
{
    Picture1->move(pixelsFromTwips(PictureFit::offsetForScrollValue(value)), Picture1->y());
}

void PhotoPage::VScroll2_Change(int value)
{
    Picture1->move(Picture1->x(), pixelsFromTwips(PictureFit::offsetForScrollValue(value)));
}

void PhotoPage::fitPicture()
{
    HScroll2->setMaximum(0);
    VScroll2->setMaximum(0);
    const QSizeF viewport = twipsSize(Picture3);
    const PicturePlacement placement = PictureFit::place(twipsSize(Picture1), viewport);
    auto setUp = [](QScrollBar *bar, const AxisPlacement &axis, double viewportTwips) {
        bar->setMaximum(axis.scrollMaximum);
        bar->setValue(axis.scrollValue);
        // One page shows the viewport's length, so the handle tells how much of
        // the picture is in view.
        bar->setPageStep(qMax(1, int(viewportTwips / PictureFit::TwipsPerScrollUnit)));
    };
    setUp(HScroll2, placement.horizontal, viewport.width());
    setUp(VScroll2, placement.vertical, viewport.height());
    Picture1->move(pixelsFromTwips(placement.horizontal.offset),
                   pixelsFromTwips(placement.vertical.offset));

    if (isHintRunning()) {
        const QPointF hint = PictureFit::centre(twipsSize(Picture5), viewport);
        Picture5->move(pixelsFromTwips(hint.x()), pixelsFromTwips(hint.y()));
    }
}

void PhotoPage::applyLayout(const WindowGeometry &geometry)
{
    m_geometry = geometry;
    placeControls();
    fitPicture();
}

void PhotoPage::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // The tab control may have moved the page within its frame.
    placeControls();
}

QPoint PhotoPage::tabFrameOffset() const
{
    for (QWidget *ancestor = parentWidget(); ancestor; ancestor = ancestor->parentWidget())
        if (auto *tab = qobject_cast<QTabWidget *>(ancestor))
            return mapTo(tab, QPoint(0, 0));
    return {};
}

void PhotoPage::placeControls()
{
    if (!m_geometry)
        return;
    const WindowGeometry &g = *m_geometry;
    QPoint offset = tabFrameOffset();
    offset.setX(qMin(offset.x(), pixelsFromTwips(g.picture3.left()) - PageEdgePixels));
    offset.setY(qMin(offset.y(), pixelsFromTwips(g.picture3.top()) - PageEdgePixels));
    auto onPage = [&offset](const QRect &twips) {
        return QRect(pixelsFromTwips(twips.left()) - offset.x(),
                     pixelsFromTwips(twips.top()) - offset.y(), pixelsFromTwips(twips.width()),
                     pixelsFromTwips(twips.height()));
    };
    Picture3->setGeometry(onPage(g.picture3));
    VScroll2->setGeometry(onPage(g.vScroll2));
    HScroll2->setGeometry(onPage(g.hScroll2));
    Bar1->setGeometry(onPage(g.bar1));

    const QPoint strip = onPage(QRect(g.frame3, QSize())).topLeft();
    measurementsSlot->move(strip);
    customDetectionSlot->move(strip);

    const QPoint leafArea = onPage(QRect(g.leafArea, QSize())).topLeft();
    Label10->adjustSize();
    Label10->move(leafArea);
    Text2->move(Label10->geometry().right() + 6, leafArea.y());
    Label15->move(Text2->geometry().right() + 5, leafArea.y());
    placeUnitSuperscript();
}

void PhotoPage::placeUnitSuperscript()
{
    // Label17 is the raised "2" of the square unit; it follows the unit name's end.
    Label15->adjustSize();
    Label17->move(Label15->geometry().right() + 1, Label15->y() + 1);
}

} // namespace verdalis
