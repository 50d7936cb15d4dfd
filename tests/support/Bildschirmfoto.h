#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

// The one folder of every screenshot the tests take (screenshots/ in the build folder).
QString Bildschirmfotoordner();

// Saves the picture of `fenster` as `name` (a .png) in the screenshot folder and checks what a
// user would see in it: every label, button and check box shows its text whole, and no visible
// control covers a sibling or reaches out of its parent. Offenders fail the test by name.
void Bildschirmfoto(QWidget& fenster, const QString& name);

// Saves a picture the code drew itself (a chart, a page) in the screenshot folder.
void BildSpeichern(const QImage& bild, const QString& name);
