#include "unkonuara.h"

#include "core/connections.h"
#include "core/session.h"
#include "core/turkish.h"
#include "db/fb/error.h"
#include "kit/gridparts.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QThread>
#include <QVBoxLayout>

TFRMKONUARA::TFRMKONUARA(Session &session, QWidget *parent)
    : KelmaForm(session, parent)
{
    setWindowTitle(QStringLiteral("KONU ARAMA"));
    resize(760, 480);

    auto *fieldBox = new QGroupBox(QStringLiteral("Arama Alanı"), this);
    fieldBox->setObjectName(QStringLiteral("fieldBox"));
    subjectFieldRadio = new QRadioButton(QStringLiteral("Konu"), fieldBox);
    subjectFieldRadio->setObjectName(QStringLiteral("subjectFieldRadio"));
    searchFieldGroup = new QButtonGroup(this);
    searchFieldGroup->setObjectName(QStringLiteral("searchFieldGroup"));
    searchFieldGroup->addButton(subjectFieldRadio, 0);
    auto *fieldLayout = new QHBoxLayout(fieldBox);
    fieldLayout->addWidget(subjectFieldRadio);

    auto *textLabel = new QLabel(QStringLiteral("Arama Bilgisi"), this);
    searchEdit = new QLineEdit(this);
    searchEdit->setObjectName(QStringLiteral("searchEdit"));
    textLabel->setBuddy(searchEdit);
    searchEdit->installEventFilter(this);
    connect(searchEdit, &QLineEdit::textChanged, this, [this] { SORGULA(); });

    resultsHeading = gridparts::heading(this, QStringLiteral("ARAMA SONUÇ LİSTESİ"));
    resultsHeading->setObjectName(QStringLiteral("resultsHeading"));
    resultModel = new subjectsearch::ResultModel(session.db.IBTransaction2, this);
    resultsGrid = gridparts::grid(this, resultModel);
    resultsGrid->setObjectName(QStringLiteral("resultsGrid"));
    resultsGrid->setToolTip(QStringLiteral("Seçmek İçin Çift Tıklayınız....."));
    resultsGrid->horizontalHeader()->setStretchLastSection(true);
    resultsGrid->verticalHeader()->setDefaultSectionSize(resultsGrid->fontMetrics().height() + 6);
    gridparts::onChoose(resultsGrid, [this] { choose(); });

    statusLabel = new QLabel(this);
    statusLabel->setObjectName(QStringLiteral("statusLabel"));

    chooseButton = gridparts::button(this, QStringLiteral("F5-Seç"));
    chooseButton->setObjectName(QStringLiteral("chooseButton"));
    exitButton = gridparts::button(this, QStringLiteral("ESC-Çıkış"));
    exitButton->setObjectName(QStringLiteral("exitButton"));
    connect(chooseButton, &QPushButton::clicked, this, [this] { choose(); });
    connect(exitButton, &QPushButton::clicked, this, [this] { cancel(); });
    bindKey(chooseButton, QKeySequence(Qt::Key_F5));

    auto *top = new QHBoxLayout;
    top->addWidget(fieldBox);
    auto *textColumn = new QVBoxLayout;
    textColumn->addWidget(textLabel);
    textColumn->addWidget(searchEdit);
    top->addLayout(textColumn, 1);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(resultsHeading);
    layout->addWidget(resultsGrid, 1);
    layout->addWidget(statusLabel);
    layout->addWidget(gridparts::buttonBar(this, {chooseButton}, {exitButton}));
}

TFRMKONUARA::~TFRMKONUARA()
{
    stopLoading();
}

int TFRMKONUARA::matchCount() const
{
    return resultModel->rowCount();
}

void TFRMKONUARA::FormActivate()
{
    tag = 0;
    chosenKayno = 0;
    m_index.reset();
    m_searcher.reset();
    resultModel->clear();
    {
        const QSignalBlocker block(searchEdit);
        searchEdit->clear();
    }
    subjectFieldRadio->setChecked(true);
    startLoading();
    searchEdit->setFocus();
}

void TFRMKONUARA::startLoading()
{
    stopLoading();
    statusLabel->setText(QStringLiteral("Konular okunuyor…"));
    auto cancelFlag = std::make_shared<std::atomic_bool>(false);
    m_cancelLoad = cancelFlag;
    const fb::ConnectOptions options =
        Connections::login(m_session.db.IBDATABASE.database(), m_session.db.IBDATABASE.charset());
    const QString which = selector;
    auto result = std::make_shared<std::shared_ptr<subjectsearch::SubjectIndex>>();
    auto failure = std::make_shared<QString>();
    // Its own attachment: the dialog answers at once while a large register loads.
    m_loader = QThread::create([options, which, cancelFlag, result, failure] {
        try {
            *result = subjectsearch::load(options, which, cancelFlag.get());
        } catch (const fb::Error &e) {
            *failure = e.message();
        }
    });
    QThread *loader = m_loader;
    connect(loader, &QThread::finished, this, [this, loader, cancelFlag, result, failure] {
        loader->deleteLater();
        if (m_loader == loader)
            m_loader = nullptr;
        if (cancelFlag->load())
            return;
        if (!failure->isEmpty()) {
            statusLabel->setText(QStringLiteral("Konular okunamadı: ") + *failure);
            return;
        }
        m_index = *result;
        m_searcher = std::make_unique<subjectsearch::Searcher>(m_index);
        SORGULA();
    });
    loader->start();
}

void TFRMKONUARA::stopLoading()
{
    if (!m_loader)
        return;
    m_cancelLoad->store(true);
    m_loader->wait();
    delete m_loader;
    m_loader = nullptr;
}

void TFRMKONUARA::SORGULA()
{
    if (!m_searcher)
        return; // the load's end searches for what was typed meanwhile
    std::vector<int> rows = m_searcher->search(searchEdit->text());
    const int count = int(rows.size());
    resultModel->setResult(selector, m_index, std::move(rows));
    if (count > 0)
        resultsGrid->setCurrentIndex(resultModel->index(0, 0));
    statusLabel->setText(QStringLiteral("%1 evrak").arg(count));
}

bool TFRMKONUARA::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == searchEdit && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            choose();
            return true;
        }
        // Typed keys only: a paste arrives through no key event of text.
        const QString text = key->text();
        if (text.size() == 1 && text[0].isPrint()) {
            const QChar upper = turkish::BuyukHarf(text[0]);
            if (upper != text[0]) {
                searchEdit->insert(QString(upper));
                return true;
            }
        }
    }
    return KelmaForm::eventFilter(watched, event);
}

void TFRMKONUARA::choose()
{
    const QModelIndex current = resultsGrid->currentIndex();
    chosenKayno = current.isValid() ? resultModel->kaynoAt(current.row()) : 0;
    stopLoading();
    closeForm(1);
}

void TFRMKONUARA::cancel()
{
    chosenKayno = 0;
    stopLoading();
    closeForm(0);
}

void TFRMKONUARA::reject()
{
    if (!mayClose) {
        cancel();
        return;
    }
    KelmaForm::reject();
}

void TFRMKONUARA::closeEvent(QCloseEvent *event)
{
    // Closing the window cancels, as Escape does.
    if (!mayClose) {
        chosenKayno = 0;
        tag = 0;
        mayClose = true;
    }
    stopLoading();
    KelmaForm::closeEvent(event);
}
