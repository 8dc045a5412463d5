// A status bar made of fixed-width panels, as the main window lays it out:
// text panels (with or without a sunken edge) and owner-drawn ones, which
// the window paints itself (the window buttons).
#pragma once

#include <QStatusBar>
#include <QVector>

#include <functional>

struct TStatusPanel {
    int Width = 50;
    QString Text;
    bool Bevel = true;
    Qt::Alignment Alignment = Qt::AlignLeft;
    bool OwnerDrawn = false;
};

class TStatusBar : public QStatusBar {
    Q_OBJECT

public:
    explicit TStatusBar(QWidget* parent = nullptr);

    static const int PanelGap = 2; // between two panels

    QVector<TStatusPanel>& Panels() { return Items; }
    const QVector<TStatusPanel>& Panels() const { return Items; }
    void SetPanelText(int index, const QString& text);
    QString PanelText(int index) const;
    // The rectangle of panel index inside the bar.
    QRect PanelRect(int index) const;
    // The panel under x, edges excluded; -1 for none.
    int PanelAt(int x) const;

    // Paints an owner-drawn panel (painter, panel index, rectangle).
    std::function<void(QPainter&, int, const QRect&)> DrawPanel;

signals:
    void MouseMoved(QPoint position);
    void PanelClicked(int index);
    void DoubleClicked(QPoint position);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QVector<TStatusPanel> Items;
};
