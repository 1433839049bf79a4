#pragma once

#include "kit/kelmaform.h"

#include <QImage>

#include <functional>

class QLabel;
class QPushButton;
class QScrollArea;

/// "RESİM": one picture of a record, shown large. Give it the picture with
/// setPicture() before running it.
class TFRMRESIM : public KelmaForm
{
    Q_OBJECT

public:
    explicit TFRMRESIM(Session &session, QWidget *parent = nullptr);

    void setPicture(const QImage &picture);
    bool stretched() const { return m_stretch; }
    bool filling() const { return m_fill; }

    /// The picture print of the reports (printer set-up, then preview):
    /// picture, stretched, centred. Without it "Yazdır" is hidden.
    std::function<void(const QImage &, bool, bool)> printPicture;

protected:
    void FormActivate() override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void layoutPicture();

    QImage m_picture;
    bool m_stretch = false;
    bool m_fill = false;
    QScrollArea *pictureArea;
    QLabel *pictureLabel;       // Image1
    QPushButton *stretchButton; // stretching on and off
    QPushButton *alignButton;   // no alignment / the whole area
    QPushButton *printButton;   // "Yazdır"
    QPushButton *exitButton;
};
