#pragma once

#include <QPixmap>
#include <QWidget>

// The start picture: borderless, on top, centred, 543 x 394 pixels, "Titel.jpg" of the program
// folder (the product's title on a plain ground when the picture is missing).
class TfrmSplash : public QWidget {
    Q_OBJECT
public:
    explicit TfrmSplash(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap bild_;
};
