#pragma once
// The thumbnail panel beside the preview's desk: one small picture per page,
// drawn only when its row comes into view and kept in a cache of at most
// MaxCachedBytes, so that 32 000 pages cost no more than ten, and pages of a
// huge custom paper no more than small ones.
// Clicking a picture goes to its page.

#include <QListView>

#include <functional>

namespace quillet {

class ThumbnailModel;

class ThumbnailPanel : public QListView {
    Q_OBJECT
public:
    static constexpr qsizetype MaxCachedBytes = qsizetype(64) << 20;
    /// Pictures drawn at a lower resolution when fewer of them than this would fit.
    static constexpr int MinCachedThumbnails = 16;
    /// Draws page (numbered from 1) at the given device pixel ratio; a null
    /// image when it cannot.
    using PageDrawer = std::function<QImage(int page, qreal devicePixelRatio)>;

    ThumbnailPanel(PageDrawer drawPage, QWidget *parent);
    ~ThumbnailPanel() override;

    /// Starts over for a listing of pageCount pages whose pictures are
    /// pictureSize device-independent pixels: the cache is emptied.
    void reset(int pageCount, QSize pictureSize);
    /// Marks and shows the page on view.
    void setCurrentPage(int page);
    /// Pictures drawn and held now.
    int cachedCount() const;
    /// The bytes they hold; never more than MaxCachedBytes.
    qsizetype cachedBytes() const;
    /// Whether the picture of page (numbered from 1) is drawn and held.
    bool isDrawn(int page) const;

signals:
    void pageClicked(int page);

private:
    ThumbnailModel *m_model;
};

} // namespace quillet
