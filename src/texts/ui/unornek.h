#pragma once

#include "writereditor.h"

/// The template editor: one template's document, edited in Writer. Saved
/// into the template at F5.
class TFRMORNEK : public WriterEditor
{
    Q_OBJECT

public:
    TFRMORNEK(Session &session, texts::Office &office, int kayno, const QString &description,
              QWidget *parent = nullptr);

protected:
    std::optional<QByteArray> stored() override;
    QString fileName() const override;
    bool keep(const QByteArray &document) override;

private:
    int m_kayno;
};
