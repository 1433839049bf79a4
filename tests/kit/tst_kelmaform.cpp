#include "formtest.h"
#include "sessionfixture.h"

#include "kit/kelmaform.h"

#include "db/fb/transaction.h"

#include <QtTest>

#include <stdexcept>

namespace {

/// A screen whose opening fails the way the test asks.
class FailingForm : public KelmaForm
{
public:
    enum Failure { DatabaseError, OtherError };

    FailingForm(Session &session, Failure failure)
        : KelmaForm(session)
        , m_failure(failure)
    {
    }

    int activations = 0;

protected:
    void FormActivate() override
    {
        ++activations;
        if (m_failure == DatabaseError)
            m_session.db.IBTransaction1.rows(QStringLiteral("SELECT X FROM NO_SUCH_TABLE"));
        else
            throw std::runtime_error("disk full");
    }

private:
    Failure m_failure;
};

} // namespace

class TestKelmaForm : public QObject
{
    Q_OBJECT

private slots:
    void failedActivationIsShown_data()
    {
        QTest::addColumn<int>("failure");
        QTest::addColumn<QString>("shown");
        QTest::newRow("database") << int(FailingForm::DatabaseError) << QStringLiteral("DİKKAT! Veritabanı hatası:");
        QTest::newRow("other") << int(FailingForm::OtherError) << QStringLiteral("disk full");
    }

    void failedActivationIsShown()
    {
        QFETCH(int, failure);
        QFETCH(QString, shown);
        SessionFixture f;
        FailingForm form(f.session, FailingForm::Failure(failure));
        f.prompt.expectError(shown);
        form.show();
        QVERIFY2(f.prompt.done(), qPrintable(f.prompt.report()));
        QCOMPARE(form.activations, 1);
        // The screen stays usable: still refuses the frame, closes by its own action.
        QVERIFY(form.isVisible());
        QVERIFY(!form.close());
        form.closeForm(0);
        QVERIFY(!form.isVisible());
        // The connection is still there for the next screen.
        QCOMPARE(f.session.db.IBTransaction1.value(QStringLiteral("SELECT COUNT(*) FROM TANIM")).toInt(), 1);
    }
};

QTEST_MAIN(TestKelmaForm)
#include "tst_kelmaform.moc"
