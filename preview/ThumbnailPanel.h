#pragma once
// The thumbnail panel beside the preview's desk: one small picture per page,
// drawn only when its row comes into view and kept in a cache of at most
// MaxCachedThumbnails pictures, so that 32 000 pages cost no more than ten.
// Clicking a picture goes to its page.

#include <QListView>

#include <functional>

namespace quillet {

class ThumbnailModel;

class ThumbnailPanel : public QListView {
    Q_OBJECT
public:
    static constexpr int MaxCachedThumbnails = 64;
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
    /// Pictures drawn and held now; never more than MaxCachedThumbnails.
    int cachedCount() const;
    /// Whether the picture of page (numbered from 1) is drawn and held.
    bool isDrawn(int page) const;

signals:
    void pageClicked(int page);

private:
    ThumbnailModel *m_model;
};

} // namespace quillet
