// The preview area: one page of a page store at a zoom, with scroll bars. The
// page image is drawn once per page and zoom and then only copied, so
// scrolling and dragging stay smooth; very large zooms draw just what shows.
#pragma once

#include <QAbstractScrollArea>
#include <QPixmap>

#include <memory>

class TPageStore;

class TPreviewArea : public QAbstractScrollArea
{
    Q_OBJECT
public:
    static constexpr int Line_Increment = 8; // pixels per scroll-bar arrow step
    static constexpr int Min_Zoom = 2;
    static constexpr int Max_Zoom = 2000;

    explicit TPreviewArea(QWidget *parent = nullptr);
    ~TPreviewArea() override;

    void Attach(std::shared_ptr<TPageStore> store);
    void Detach();
    TPageStore *Store() const { return m_store.get(); }

    // 1 to the store's page count; any other number does nothing. A change
    // scrolls to the top left.
    int Page_Number() const { return m_page; }
    void Set_Page_Number(int n);

    int Zoom() const { return m_zoom; }
    // Percent, 2 to 2000 (other values are brought inside); ends a fitting mode.
    void Set_Zoom(int percent);
    // The whole page, or its width, in the area; both follow the area's size
    // until another zoom is asked for.
    void Zoom_To_Fit();
    void Zoom_To_Width();
    // Draws the page image again.
    void Refresh();

    // Scroll positions and ranges as the window reckons them: the range is the
    // whole width (height) of what can be scrolled, page and border.
    int H_Position() const;
    int V_Position() const;
    void Set_H_Position(int x); // kept inside 0..range - viewport
    void Set_V_Position(int y);
    int H_Range() const { return m_content.width(); }
    int V_Range() const { return m_content.height(); }

    // The page's size in pixels at the current zoom.
    QSize Page_Pixels() const;

signals:
    void pageAvailable(int n);
    // Mouse on the page; positions in page pixels (they move with the page).
    void pageMousePressed(QPoint pos);
    void pageMouseMoved(QPoint pos);
    void pageMouseReleased(QPoint pos);
    void pageClicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    enum class TMode { Fixed, Fit, Width };
    void Store_Page_Available(int n);
    void Apply_Mode();
    void Update_Content();
    QSize Page_Units() const;
    QSize Pixels_At(int zoom) const;
    QPoint Page_Origin() const; // the page's top-left corner in the viewport
    QPoint To_Page(const QPoint &viewportPos) const;

    std::shared_ptr<TPageStore> m_store;
    int m_page = 1;
    int m_zoom = 100;
    TMode m_mode = TMode::Fixed;
    QSize m_content;
    QPixmap m_image; // the current page at the current zoom; null when not drawn yet
    bool m_pressed = false;
};
