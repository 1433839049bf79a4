#pragma once

#include "kit/kelmaform.h"

#include <QImage>

#include <functional>
#include <memory>

namespace reports {
class ReportDesk;
}
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

    /// "Yazdır" through the opener's reports (picture, stretched, centred), so
    /// that the printer chosen there stays chosen; without it the viewer's own.
    std::function<void(const QImage &, bool, bool)> printPicture;
    /// The viewer's own reports: the picture print (printer set-up, then preview).
    reports::ReportDesk &reportDesk();
    ~TFRMRESIM() override;

protected:
    void FormActivate() override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void layoutPicture();

    void print();

    std::unique_ptr<reports::ReportDesk> m_reports;
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
