#include "preview/ThumbnailPanel.h"

#include "base/ErrorsIgnored.h"

#include <QAbstractListModel>
#include <QCache>
#include <QPixmap>
#include <QTimer>

#include <cmath>
#include <deque>

namespace quillet {

namespace {

constexpr int ItemPadding = 6;

} // namespace

/// One row per page; a row's picture is asked for only when the view draws
/// it, and drawn on the next pass of the event loop if still in view.
class ThumbnailModel : public QAbstractListModel {
public:
    ThumbnailModel(ThumbnailPanel::PageDrawer drawPage, QListView &view)
        : m_drawPage(std::move(drawPage)), m_view(view), m_cache(ThumbnailPanel::MaxCachedBytes)
    {
        m_drawTimer.setSingleShot(true);
        m_drawTimer.setInterval(0);
        QObject::connect(&m_drawTimer, &QTimer::timeout, &m_view,
                         [this] { ignoringErrors([this] { drawNextWanted(); }); });
    }

    void reset(int pageCount, QSize pictureSize)
    {
        beginResetModel();
        m_pageCount = std::max(0, pageCount);
        m_pictureSize = pictureSize;
        m_cache.clear();
        m_wanted.clear();
        endResetModel();
    }

    int cachedCount() const { return static_cast<int>(m_cache.count()); }
    qsizetype cachedBytes() const { return m_cache.totalCost(); }
    bool isDrawn(int page) const { return m_cache.contains(page); }

    int rowCount(const QModelIndex &parent) const override { return parent.isValid() ? 0 : m_pageCount; }

    QVariant data(const QModelIndex &index, int role) const override
    {
        const int page = index.row() + 1;
        if (role == Qt::DisplayRole)
            return QString::number(page);
        if (role == Qt::TextAlignmentRole)
            return int(Qt::AlignHCenter | Qt::AlignTop);
        if (role != Qt::DecorationRole)
            return {};
        if (const QPixmap *picture = m_cache.object(page))
            return *picture;
        m_wanted.push_back(page);
        m_drawTimer.start();
        return placeholder();
    }

private:
    /// The view's device pixel ratio, lowered for pictures so big that
    /// fewer than MinCachedThumbnails of them would fit in the cache.
    qreal pictureRatio() const
    {
        const qreal ratio = m_view.devicePixelRatioF();
        constexpr qreal MostBytes = ThumbnailPanel::MaxCachedBytes / ThumbnailPanel::MinCachedThumbnails;
        const qreal bytes =
            qreal(m_pictureSize.width()) * m_pictureSize.height() * ratio * ratio * sizeof(QRgb);
        return bytes > MostBytes ? ratio * std::sqrt(MostBytes / bytes) : ratio;
    }

    QPixmap placeholder() const
    {
        const qreal ratio = pictureRatio();
        QPixmap blank((QSizeF(m_pictureSize) * ratio).toSize());
        blank.setDevicePixelRatio(ratio);
        blank.fill(QColor(235, 235, 235));
        return blank;
    }

    bool inView(int page) const
    {
        const QRect shown = m_view.visualRect(index(page - 1));
        return shown.isValid() && m_view.viewport()->rect().intersects(shown);
    }

    /// Draws one wanted picture per pass, so that scrolling stays smooth.
    void drawNextWanted()
    {
        while (!m_wanted.empty()) {
            const int page = m_wanted.front();
            m_wanted.pop_front();
            if (page > m_pageCount || m_cache.contains(page) || !inView(page))
                continue;
            const QImage picture = m_drawPage(page, pictureRatio());
            if (picture.isNull())
                continue;
            m_cache.insert(page, new QPixmap(QPixmap::fromImage(picture)), picture.sizeInBytes());
            emit dataChanged(index(page - 1), index(page - 1), {Qt::DecorationRole});
            break;
        }
        if (!m_wanted.empty())
            m_drawTimer.start();
    }

    ThumbnailPanel::PageDrawer m_drawPage;
    QListView &m_view;
    int m_pageCount = 0;
    QSize m_pictureSize;
    QCache<int, QPixmap> m_cache;
    /// Pages asked for since the last pass; rows scrolled past are dropped then.
    mutable std::deque<int> m_wanted;
    mutable QTimer m_drawTimer;
};

ThumbnailPanel::ThumbnailPanel(PageDrawer drawPage, QWidget *parent)
    : QListView(parent), m_model(new ThumbnailModel(std::move(drawPage), *this))
{
    setObjectName(QStringLiteral("LThumbs"));
    setModel(m_model);
    setUniformItemSizes(true); // only the rows in view are laid out and asked for
    setViewMode(QListView::ListMode);
    setFlow(QListView::TopToBottom);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setSpacing(ItemPadding);
    setFocusPolicy(Qt::NoFocus); // the keys stay with the preview window
    connect(this, &QListView::clicked, this,
            [this](const QModelIndex &index) { emit pageClicked(index.row() + 1); });
}

ThumbnailPanel::~ThumbnailPanel()
{
    setModel(nullptr);
    delete m_model;
}

void ThumbnailPanel::reset(int pageCount, QSize pictureSize)
{
    setIconSize(pictureSize);
    m_model->reset(pageCount, pictureSize);
}

void ThumbnailPanel::setCurrentPage(int page)
{
    const QModelIndex index = m_model->index(page - 1);
    if (!index.isValid())
        return;
    setCurrentIndex(index);
    scrollTo(index);
}

int ThumbnailPanel::cachedCount() const
{
    return m_model->cachedCount();
}

qsizetype ThumbnailPanel::cachedBytes() const
{
    return m_model->cachedBytes();
}

bool ThumbnailPanel::isDrawn(int page) const
{
    return m_model->isDrawn(page);
}

} // namespace quillet
