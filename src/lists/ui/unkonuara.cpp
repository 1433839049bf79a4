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
    m_search = std::make_unique<subjectsearch::BackgroundSearch>(
        this, [this](const subjectsearch::Answer &answer) { answered(answer); }, subjectsearch::ResultModel::pageSize);
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
    m_search.reset(); // joins its thread before the members it answers to go
}

int TFRMKONUARA::matchCount() const
{
    return resultModel->rowCount();
}

bool TFRMKONUARA::isSettled() const
{
    return m_loaded && m_shown == m_asked && m_shownComplete;
}

void TFRMKONUARA::FormActivate()
{
    tag = 0;
    chosenKayno = 0;
    m_loaded = false;
    m_rowsLoaded = 0;
    m_loadFailure.clear();
    m_shown = 0;
    m_shownComplete = false;
    m_shownText.clear();
    m_choicePending = false;
    stopLoading();
    m_search->clear();
    resultModel->setResult(selector, nullptr, {});
    {
        const QSignalBlocker block(searchEdit);
        searchEdit->clear();
    }
    m_asked = m_search->search(QString());
    subjectFieldRadio->setChecked(true);
    startLoading();
    searchEdit->setFocus();
}

void TFRMKONUARA::startLoading()
{
    stopLoading();
    auto cancelFlag = std::make_shared<std::atomic_bool>(false);
    m_cancelLoad = cancelFlag;
    const fb::ConnectOptions options =
        Connections::login(m_session.db.IBDATABASE.database(), m_session.db.IBDATABASE.charset());
    const QString which = selector;
    auto failure = std::make_shared<QString>();
    // Its own attachment: the dialog answers at once while a large register
    // loads, and searches each part as it comes.
    m_loader = QThread::create([this, options, which, cancelFlag, failure] {
        const auto published = [this, cancelFlag](std::shared_ptr<const subjectsearch::SubjectIndex> index) {
            QMetaObject::invokeMethod(
                this,
                [this, cancelFlag, index] {
                    if (!cancelFlag->load())
                        indexGrew(index);
                },
                Qt::QueuedConnection);
        };
        try {
            subjectsearch::load(options, which, cancelFlag.get(), published);
        } catch (const fb::Error &e) {
            *failure = e.message();
        }
    });
    QThread *loader = m_loader;
    loader->setParent(this);
    connect(loader, &QThread::finished, this, [this, loader, cancelFlag, failure] {
        loader->deleteLater();
        if (m_loader == loader)
            m_loader = nullptr;
        if (cancelFlag->load())
            return;
        m_loadFailure = *failure;
        m_loaded = m_loadFailure.isEmpty();
        showStatus();
        if (m_choicePending)
            choose();
    });
    showStatus();
    loader->start();
}

void TFRMKONUARA::letGo()
{
    // Closing does not wait for a statement still on the server: the loader
    // sees the flag at its next row and ends on its own.
    if (m_cancelLoad)
        m_cancelLoad->store(true);
    // The subjects are read again at the next opening; a closed dialog of
    // each list need not keep its register in memory meanwhile.
    m_search->clear();
    resultModel->setResult(selector, nullptr, {});
}

void TFRMKONUARA::stopLoading()
{
    if (!m_loader)
        return;
    m_cancelLoad->store(true);
    m_loader->wait();
    // Its queued end still names it: deleted there, or with the form.
    m_loader = nullptr;
}

void TFRMKONUARA::indexGrew(std::shared_ptr<const subjectsearch::SubjectIndex> index)
{
    m_rowsLoaded = index->size();
    m_asked = m_search->setIndex(std::move(index), false);
    showStatus();
}

void TFRMKONUARA::SORGULA()
{
    m_asked = m_search->search(searchEdit->text());
}

void TFRMKONUARA::answered(const subjectsearch::Answer &answer)
{
    if (answer.generation != m_asked)
        return; // a newer key or more rows are on their way
    const QString text = searchEdit->text();
    const bool replaced = resultModel->update(answer.index, *answer.rows);
    if ((replaced || text != m_shownText) && resultModel->rowCount() > 0)
        resultsGrid->setCurrentIndex(resultModel->index(0, 0));
    m_shown = answer.generation;
    m_shownComplete = answer.complete;
    m_shownText = text;
    showStatus();
    if (m_choicePending && (resultModel->rowCount() > 0 || isSettled()))
        choose();
}

void TFRMKONUARA::showStatus()
{
    if (!m_loadFailure.isEmpty()) {
        statusLabel->setText(QStringLiteral("Konular okunamadı: ") + m_loadFailure);
        return;
    }
    QString text;
    if (m_shown != 0)
        text = m_shownComplete && m_loaded ? QStringLiteral("%1 evrak").arg(resultModel->rowCount())
                               : QStringLiteral("%1+ evrak").arg(resultModel->rowCount());
    if (!m_loaded) {
        if (!text.isEmpty())
            text += QStringLiteral(" — ");
        text += QStringLiteral("konular yükleniyor… (%1)").arg(m_rowsLoaded);
    }
    statusLabel->setText(text);
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
    // The rows of what was typed last have to be there first; Enter right
    // after a key waits for them instead of taking a row of the text before.
    const bool current = m_shownText == searchEdit->text() && (resultModel->rowCount() > 0 || isSettled());
    if (!current && m_loadFailure.isEmpty()) {
        m_choicePending = true;
        return;
    }
    m_choicePending = false;
    const QModelIndex row = resultsGrid->currentIndex();
    chosenKayno = row.isValid() ? resultModel->kaynoAt(row.row()) : 0;
    letGo();
    closeForm(1);
}

void TFRMKONUARA::cancel()
{
    chosenKayno = 0;
    m_choicePending = false;
    letGo();
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
    letGo();
    KelmaForm::closeEvent(event);
}
