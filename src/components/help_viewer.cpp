#include "components/help_viewer.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QShortcut>
#include <QSplitter>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

// The topics live in a static library; make sure its resources are linked.
static void InitHelpResources() { Q_INIT_RESOURCE(help); }

namespace brevika {

namespace {

const QString kTopicDir = QStringLiteral(":/help/topics");

QString TopicPath(int context) { return QStringLiteral("%1/%2.html").arg(kTopicDir).arg(context); }

QUrl TopicUrl(int context) {
  return QUrl(QStringLiteral("qrc:/help/topics/%1.html").arg(context));
}

// Context number of a topic URL ("qrc:/help/topics/125.html#x" -> 125).
int ContextOfUrl(const QUrl& url) {
  static const QRegularExpression name(QStringLiteral("^/help/topics/(\\d+)\\.html$"));
  const QRegularExpressionMatch m = name.match(url.path());
  return m.hasMatch() ? m.captured(1).toInt() : -1;
}

HelpTopic ReadTopic(int context, const QString& html) {
  HelpTopic topic;
  topic.context = context;
  static const QRegularExpression title(QStringLiteral("<title>(.*?)</title>"),
                                        QRegularExpression::DotMatchesEverythingOption |
                                            QRegularExpression::CaseInsensitiveOption);
  static const QRegularExpression keywords(
      QStringLiteral("<meta\\s+name=\"keywords\"\\s+content=\"([^\"]*)\""),
      QRegularExpression::CaseInsensitiveOption);
  topic.title = title.match(html).captured(1).simplified();
  for (const QString& k : keywords.match(html).captured(1).split(QLatin1Char(';'))) {
    const QString word = k.simplified();
    if (!word.isEmpty()) topic.keywords << word;
  }
  return topic;
}

enum IndexRole { kContextRole = Qt::UserRole, kKeywordRole };

}  // namespace

const QMap<int, HelpTopic>& HelpTopics() {
  static const QMap<int, HelpTopic> topics = [] {
    InitHelpResources();
    QMap<int, HelpTopic> map;
    const QStringList files = QDir(kTopicDir).entryList({QStringLiteral("*.html")}, QDir::Files);
    for (const QString& file : files) {
      bool ok = false;
      const int context = QFileInfo(file).completeBaseName().toInt(&ok);
      if (!ok) continue;
      QFile f(TopicPath(context));
      if (!f.open(QIODevice::ReadOnly)) continue;
      map.insert(context, ReadTopic(context, QString::fromUtf8(f.readAll())));
    }
    return map;
  }();
  return topics;
}

bool HasHelpTopic(int context) { return HelpTopics().contains(context); }

HelpViewer* HelpViewer::Shared() {
  static QPointer<HelpViewer> viewer;
  if (!viewer) {
    viewer = new HelpViewer;
    // It has no parent: it goes when the event loop ends.
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, viewer, [] { delete viewer.data(); });
  }
  return viewer;
}

HelpViewer::HelpViewer(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("HelpViewer"));
  setWindowTitle(QStringLiteral("Brevika Help"));
  resize(860, 600);

  auto* contents = new QPushButton(QStringLiteral("&Contents"), this);
  auto* back = new QPushButton(QStringLiteral("&Back"), this);
  auto* forward = new QPushButton(QStringLiteral("&Forward"), this);
  auto* helpOnHelp = new QPushButton(QStringLiteral("&Help on Help"), this);
  contents->setObjectName(QStringLiteral("ContentsBTN"));
  back->setObjectName(QStringLiteral("BackBTN"));
  forward->setObjectName(QStringLiteral("ForwardBTN"));
  helpOnHelp->setObjectName(QStringLiteral("HelpOnHelpBTN"));
  for (QPushButton* b : {contents, back, forward, helpOnHelp}) b->setAutoDefault(false);
  back->setEnabled(false);
  forward->setEnabled(false);

  auto* tools = new QHBoxLayout;
  tools->addWidget(contents);
  tools->addWidget(back);
  tools->addWidget(forward);
  tools->addWidget(helpOnHelp);
  tools->addStretch(1);

  auto* left = new QWidget(this);
  auto* leftLayout = new QVBoxLayout(left);
  leftLayout->setContentsMargins(0, 0, 0, 0);
  auto* prompt = new QLabel(QStringLiteral("&Type a word to find:"), left);
  search_ = new QLineEdit(left);
  search_->setObjectName(QStringLiteral("SearchField"));
  search_->setClearButtonEnabled(true);
  prompt->setBuddy(search_);
  index_ = new QListWidget(left);
  index_->setObjectName(QStringLiteral("KeywordIndex"));
  auto* display = new QPushButton(QStringLiteral("&Display"), left);
  display->setAutoDefault(false);
  leftLayout->addWidget(prompt);
  leftLayout->addWidget(search_);
  leftLayout->addWidget(index_, 1);
  leftLayout->addWidget(display);

  browser_ = new QTextBrowser(this);
  browser_->setObjectName(QStringLiteral("TopicBrowser"));
  browser_->setOpenLinks(true);
  browser_->setOpenExternalLinks(true);
  browser_->setSearchPaths({kTopicDir});
  QFile css(QStringLiteral(":/help/help.css"));
  if (css.open(QIODevice::ReadOnly))
    browser_->document()->setDefaultStyleSheet(QString::fromUtf8(css.readAll()));

  auto* splitter = new QSplitter(this);
  splitter->addWidget(left);
  splitter->addWidget(browser_);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({240, 620});

  status_ = new QLabel(this);
  status_->setObjectName(QStringLiteral("HelpStatus"));

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(tools);
  layout->addWidget(splitter, 1);
  layout->addWidget(status_);

  BuildIndex();

  connect(contents, &QPushButton::clicked, this, [this] { ShowTopic(kHelpContents); });
  connect(helpOnHelp, &QPushButton::clicked, this, [this] { ShowTopic(kHelpOnHelp); });
  connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
  connect(forward, &QPushButton::clicked, browser_, &QTextBrowser::forward);
  connect(browser_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
  connect(browser_, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);
  connect(browser_, &QTextBrowser::sourceChanged, this, &HelpViewer::SourceChanged);
  connect(search_, &QLineEdit::textEdited, this, &HelpViewer::FilterIndex);
  connect(search_, &QLineEdit::returnPressed, this, [this] { OpenIndexItem(index_->currentItem()); });
  connect(index_, &QListWidget::itemActivated, this, &HelpViewer::OpenIndexItem);
  connect(display, &QPushButton::clicked, this, [this] { OpenIndexItem(index_->currentItem()); });
  // Up and Down in the search field move through the index.
  auto* down = new QShortcut(QKeySequence(Qt::Key_Down), search_, nullptr, nullptr,
                             Qt::WidgetShortcut);
  connect(down, &QShortcut::activated, this, [this] {
    for (int r = index_->currentRow() + 1; r < index_->count(); ++r)
      if (!index_->item(r)->isHidden()) { index_->setCurrentRow(r); break; }
  });
  auto* up = new QShortcut(QKeySequence(Qt::Key_Up), search_, nullptr, nullptr, Qt::WidgetShortcut);
  connect(up, &QShortcut::activated, this, [this] {
    for (int r = index_->currentRow() - 1; r >= 0; --r)
      if (!index_->item(r)->isHidden()) { index_->setCurrentRow(r); break; }
  });
  auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
  connect(f1, &QShortcut::activated, this, [this] { ShowTopic(kHelpOnHelp); });
}

void HelpViewer::BuildIndex() {
  // One entry per keyword and topic; a keyword of several topics names the
  // topic after a dash so the user can tell them apart.
  QMap<QString, QList<int>> byKeyword;
  for (const HelpTopic& t : HelpTopics())
    for (const QString& k : t.keywords) byKeyword[k.toLower() + QLatin1Char('\x1f') + k] << t.context;
  for (auto it = byKeyword.cbegin(); it != byKeyword.cend(); ++it) {
    const QString keyword = it.key().section(QLatin1Char('\x1f'), 1);
    for (int context : it.value()) {
      QString text = keyword;
      if (it.value().size() > 1) text += QStringLiteral(" \u2014 ") + HelpTopics()[context].title;
      auto* item = new QListWidgetItem(text, index_);
      item->setData(kContextRole, context);
      item->setData(kKeywordRole, keyword);
    }
  }
  if (index_->count() > 0) index_->setCurrentRow(0);
}

void HelpViewer::FilterIndex(const QString& text) {
  // Keywords that start with the typed text come first in the list; while
  // there are any, the others are hidden. Otherwise keywords containing
  // the text anywhere stay visible.
  const QString key = text.trimmed();
  int firstPrefix = -1, firstContains = -1;
  for (int r = 0; r < index_->count(); ++r) {
    const QString k = index_->item(r)->data(kKeywordRole).toString();
    if (firstPrefix < 0 && k.startsWith(key, Qt::CaseInsensitive)) firstPrefix = r;
    if (firstContains < 0 && k.contains(key, Qt::CaseInsensitive)) firstContains = r;
  }
  const bool prefixMode = firstPrefix >= 0;
  for (int r = 0; r < index_->count(); ++r) {
    const QString k = index_->item(r)->data(kKeywordRole).toString();
    const bool show = key.isEmpty() || (prefixMode ? k.startsWith(key, Qt::CaseInsensitive)
                                                   : k.contains(key, Qt::CaseInsensitive));
    index_->item(r)->setHidden(!show);
  }
  const int pick = prefixMode ? firstPrefix : firstContains;
  if (pick >= 0) {
    index_->setCurrentRow(pick);
    index_->scrollToItem(index_->item(pick), QAbstractItemView::PositionAtTop);
    status_->clear();
  } else {
    index_->setCurrentRow(-1);
    status_->setText(QStringLiteral("No keyword matches \"%1\".").arg(key));
  }
}

void HelpViewer::OpenIndexItem(QListWidgetItem* item) {
  if (!item || item->isHidden()) return;
  ShowTopic(item->data(kContextRole).toInt());
}

void HelpViewer::ShowTopic(int context) {
  if (HasHelpTopic(context)) {
    browser_->setSource(TopicUrl(context));
    status_->clear();
  } else {
    browser_->setHtml(QStringLiteral("<h1>No help for this item</h1><p>There is no help topic "
                                     "number %1.</p><p>See the <a href=\"qrc:/help/topics/0.html\">Contents</a> "
                                     "or type a word in the index on the left.</p>")
                          .arg(context));
    current_ = -1;
    setWindowTitle(QStringLiteral("Brevika Help"));
    status_->setText(QStringLiteral("Help topic %1 is not available.").arg(context));
  }
  Present();
}

void HelpViewer::ShowSearch(const QString& key) {
  search_->setText(key);
  FilterIndex(key);
  if (current_ < 0 && browser_->source().isEmpty()) browser_->setSource(TopicUrl(kHelpContents));
  Present();
  search_->setFocus(Qt::OtherFocusReason);
  search_->selectAll();
}

QString HelpViewer::currentTitle() const {
  return current_ >= 0 && HasHelpTopic(current_) ? HelpTopics()[current_].title : QString();
}

void HelpViewer::SourceChanged(const QUrl& url) {
  current_ = ContextOfUrl(url);
  const QString title = currentTitle();
  setWindowTitle(title.isEmpty() ? QStringLiteral("Brevika Help")
                                 : QStringLiteral("Brevika Help \u2014 ") + title);
}

void HelpViewer::Present() {
  // A modal window blocks every window but its own.
  QWidget* modal = QApplication::activeModalWidget();
  AttachTo(modal == this ? host_.data() : modal);
  if (isMinimized()) showNormal();
  show();
  raise();
  activateWindow();
  placed_ = true;
}

void HelpViewer::AttachTo(QWidget* host) {
  if (host == host_ && parentWidget() == host) return;
  const bool visible = isVisible();
  const QRect where = geometry();
  if (host_) host_->removeEventFilter(this);
  // A new parent hides the window; it comes back where it was.
  setParent(host, windowFlags() | Qt::Window);
  host_ = host;
  if (host_) host_->installEventFilter(this);
  if (placed_) setGeometry(where);
  if (visible) show();
}

bool HelpViewer::eventFilter(QObject* watched, QEvent* event) {
  // The modal window closes (hidden before it goes): the viewer leaves it
  // rather than being blocked or deleted with it.
  if (watched == host_ && event->type() == QEvent::Hide && !event->spontaneous()) {
    QWidget* next = QApplication::activeModalWidget();
    AttachTo(next && next != host_ && next != this ? next : nullptr);
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace brevika
