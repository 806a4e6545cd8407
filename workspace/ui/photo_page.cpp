#include "photo_page.h"

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
#include <QStackedWidget>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>

namespace verdalis {

namespace {

constexpr int HintIntervalMs = 300;
// Width of the leaf area box, twips.
constexpr int LeafAreaBoxWidth = 1800;
// The viewport keeps at least this many pixels from the page's top and left edge
// whatever height the style gives the row of tabs.
constexpr int PageEdgePixels = 4;

std::array<QPixmap, OpenPictureHint::FrameCount> loadHintFrames()
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
    : QWidget(parent), pictureViewport(new QWidget(this)),
      pictureView(new PictureView(canvas, pictureViewport)), hintLabel(new QLabel(pictureViewport)),
      loadingLabel(namedLabel(QStringLiteral("loadingLabel"),
                              QStringLiteral("Loading the picture..."), pictureViewport)),
      hintFrames(loadHintFrames()), hintTimer(new QTimer(this)),
      horizontalScroll(new QScrollBar(Qt::Horizontal, this)),
      verticalScroll(new QScrollBar(Qt::Vertical, this)), progressBar(new QProgressBar(this)),
      leafAreaCaption(
          namedLabel(QStringLiteral("leafAreaCaption"), QStringLiteral("Leaf area:"), this)),
      leafAreaBox(new QLineEdit(this)),
      areaUnitLabel(namedLabel(QStringLiteral("areaUnitLabel"), QStringLiteral("Unit"), this)),
      areaSquareMark(namedLabel(QStringLiteral("areaSquareMark"), QStringLiteral("2"), this)),
      toolPanels(new QStackedWidget(this)), m_state(state)
{
    setObjectName(QStringLiteral("photoPage"));
    pictureViewport->setObjectName(QStringLiteral("pictureViewport"));
    hintLabel->setObjectName(QStringLiteral("hintLabel"));
    hintTimer->setObjectName(QStringLiteral("hintTimer"));
    horizontalScroll->setObjectName(QStringLiteral("horizontalScroll"));
    verticalScroll->setObjectName(QStringLiteral("verticalScroll"));
    progressBar->setObjectName(QStringLiteral("progressBar"));
    leafAreaBox->setObjectName(QStringLiteral("leafAreaBox"));
    toolPanels->setObjectName(QStringLiteral("toolPanels"));
    toolPanels->setFixedSize(pixelsFromTwips(MainWindowLayout::RightStripWidth),
                             pixelsFromTwips(MainWindowLayout::RightStripHeight));

    // A neutral grey around the picture, so leaves on black or white backgrounds
    // both stand out from it.
    QPalette viewport = pictureViewport->palette();
    viewport.setColor(QPalette::Window, QColor(104, 108, 112));
    pictureViewport->setPalette(viewport);
    pictureViewport->setAutoFillBackground(true);

    pictureView->hide();
    loadingLabel->setAutoFillBackground(true);
    loadingLabel->setMargin(6);
    loadingLabel->adjustSize();
    loadingLabel->hide();
    hintLabel->setFixedSize(hintFrames[0].size());
    hintLabel->setPixmap(hintFrames[0]);

    horizontalScroll->setRange(0, 0);
    verticalScroll->setRange(0, 0);
    progressBar->setTextVisible(false);
    progressBar->hide();
    leafAreaBox->setReadOnly(true);
    leafAreaBox->setFixedSize(pixelsFromTwips(LeafAreaBoxWidth), leafAreaBox->sizeHint().height());
    leafAreaCaption->setFixedHeight(leafAreaBox->height());
    areaUnitLabel->setFixedHeight(leafAreaBox->height());
    QFont raised = areaSquareMark->font();
    if (raised.pointSizeF() > 0)
        raised.setPointSizeF(raised.pointSizeF() * 0.7);
    else
        raised.setPixelSize(qMax(6, raised.pixelSize() * 7 / 10));
    areaSquareMark->setFont(raised);
    areaSquareMark->adjustSize();

    connect(hintTimer, &QTimer::timeout, this, &PhotoPage::showNextHintFrame);
    connect(horizontalScroll, &QScrollBar::valueChanged, this,
            &PhotoPage::scrollPictureHorizontally);
    connect(verticalScroll, &QScrollBar::valueChanged, this, &PhotoPage::scrollPictureVertically);
    connect(&state, &WorkspaceState::unitNameChanged, this, &PhotoPage::calibrationChanged);
    connect(&state, &WorkspaceState::sizeRatioChanged, this, &PhotoPage::calibrationChanged);
    hintTimer->start(HintIntervalMs);
}

bool PhotoPage::isHintRunning() const
{
    return hintTimer->isActive();
}

void PhotoPage::showLoading(bool loading)
{
    progressBar->setRange(0, loading ? 0 : 100);
    progressBar->setVisible(loading);
    loadingLabel->move(PageEdgePixels, PageEdgePixels);
    loadingLabel->setVisible(loading);
    loadingLabel->raise();
}

void PhotoPage::setAreaUnit(const QString &unit)
{
    areaUnitLabel->setText(unit);
    areaSquareMark->setVisible(!unit.isEmpty());
    placeUnitSuperscript();
}

void PhotoPage::showLeafArea(const QString &figure)
{
    leafAreaBox->setText(figure);
    leafAreaBox->setToolTip(figure);
    fitLeafAreaBox();
    // A figure wider than the room left shows its leading digits.
    leafAreaBox->setCursorPosition(0);
}

void PhotoPage::clearLeafArea()
{
    showLeafArea(QString());
}

void PhotoPage::calibrationChanged()
{
    clearLeafArea();
    setAreaUnit(m_state.unitName());
}

void PhotoPage::fitLeafAreaBox()
{
    areaUnitLabel->adjustSize();
    // The frame, the text margins and the cursor take a few pixels beside the text.
    const int frame = 2 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, leafAreaBox);
    const QMargins margins = leafAreaBox->textMargins();
    const int needed = leafAreaBox->fontMetrics().horizontalAdvance(leafAreaBox->text()) + frame +
                       margins.left() + margins.right() + 8;
    // As far as the page's right edge, leaving room for the unit and its square mark.
    const int room = width() - leafAreaBox->x() - areaUnitLabel->width() - areaSquareMark->width() -
                     PageEdgePixels - 6;
    leafAreaBox->setFixedWidth(qMax(pixelsFromTwips(LeafAreaBoxWidth), qMin(needed, room)));
    areaUnitLabel->move(leafAreaBox->geometry().right() + 5, leafAreaBox->y());
    placeUnitSuperscript();
}

void PhotoPage::showNextHintFrame()
{
    hintLabel->setPixmap(hintFrames[m_hint.step()]);
}

void PhotoPage::showPicture()
{
    hintTimer->stop();
    hintLabel->hide();
    pictureView->show();
}

void PhotoPage::scrollPictureHorizontally(int value)
{
    pictureView->move(pixelsFromTwips(PictureFit::offsetForScrollValue(value)), pictureView->y());
}

void PhotoPage::scrollPictureVertically(int value)
{
    pictureView->move(pictureView->x(), pixelsFromTwips(PictureFit::offsetForScrollValue(value)));
}

void PhotoPage::fitPicture()
{
    horizontalScroll->setMaximum(0);
    verticalScroll->setMaximum(0);
    const QSizeF viewport = twipsSize(pictureViewport);
    const PicturePlacement placement = PictureFit::place(twipsSize(pictureView), viewport);
    auto setUp = [](QScrollBar *bar, const AxisPlacement &axis, double viewportTwips) {
        bar->setMaximum(axis.scrollMaximum);
        bar->setValue(axis.scrollValue);
        // One page shows the viewport's length, so the handle tells how much of
        // the picture is in view.
        bar->setPageStep(qMax(1, int(viewportTwips / PictureFit::TwipsPerScrollUnit)));
    };
    setUp(horizontalScroll, placement.horizontal, viewport.width());
    setUp(verticalScroll, placement.vertical, viewport.height());
    pictureView->move(pixelsFromTwips(placement.horizontal.offset),
                      pixelsFromTwips(placement.vertical.offset));

    if (isHintRunning()) {
        const QPointF hint = PictureFit::centre(twipsSize(hintLabel), viewport);
        hintLabel->move(pixelsFromTwips(hint.x()), pixelsFromTwips(hint.y()));
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
    offset.setX(qMin(offset.x(), pixelsFromTwips(g.viewport.left()) - PageEdgePixels));
    offset.setY(qMin(offset.y(), pixelsFromTwips(g.viewport.top()) - PageEdgePixels));
    auto onPage = [&offset](const QRect &twips) {
        return QRect(pixelsFromTwips(twips.left()) - offset.x(),
                     pixelsFromTwips(twips.top()) - offset.y(), pixelsFromTwips(twips.width()),
                     pixelsFromTwips(twips.height()));
    };
    pictureViewport->setGeometry(onPage(g.viewport));
    verticalScroll->setGeometry(onPage(g.verticalScroll));
    horizontalScroll->setGeometry(onPage(g.horizontalScroll));
    progressBar->setGeometry(onPage(g.progressBar));

    toolPanels->move(onPage(QRect(g.toolPanels, QSize())).topLeft());

    const QPoint leafArea = onPage(QRect(g.leafArea, QSize())).topLeft();
    leafAreaCaption->adjustSize();
    leafAreaCaption->move(leafArea);
    leafAreaBox->move(leafAreaCaption->geometry().right() + 6, leafArea.y());
    fitLeafAreaBox();
}

void PhotoPage::placeUnitSuperscript()
{
    // areaSquareMark is the raised "2" of the square unit; it follows the unit name's end.
    areaUnitLabel->adjustSize();
    areaSquareMark->move(areaUnitLabel->geometry().right() + 1, areaUnitLabel->y() + 1);
}

} // namespace verdalis
