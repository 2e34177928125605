#pragma once

#include <QWidget>

// The picture of the page setup dialog: a page of labels whose dimensions
// carry the letters a to h of the fields beside it, and the counts COL (m)
// and ROW (n). Drawn as vectors, so it stays sharp at any scale.
class CPageDiagram : public QWidget
{
    Q_OBJECT

public:
    explicit CPageDiagram(QWidget* parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};
