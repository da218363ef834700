// The help viewer: one shared window over the program's own help topics,
// HTML pages compiled in as resources (:/help/topics/<number>.html), opened
// by their numbered context. A keyword index on the left finds topics as
// the user types; links between topics work like in a browser.
//
// Asked for while a modal window is up, the viewer becomes a window of
// that modal window: in front of it and, like every window of a modal
// window, not blocked by it. When the modal window closes the viewer goes
// back to the modal window under it, or stands on its own again.
#pragma once
#include <QMap>
#include <QPointer>
#include <QStringList>
#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QTextBrowser;

namespace brevika {

inline constexpr int kHelpContents = 0;
inline constexpr int kHelpOnHelp = 98;

struct HelpTopic {
  int context = 0;
  QString title;
  QStringList keywords;
};

// Every topic compiled into the program, by context number.
const QMap<int, HelpTopic>& HelpTopics();
bool HasHelpTopic(int context);

class HelpViewer : public QWidget {
  Q_OBJECT
 public:
  // The one viewer of the program; created on first use.
  static HelpViewer* Shared();

  // Shows the topic of a numbered context; a number without a topic shows
  // a short page saying so, with a link to the contents.
  void ShowTopic(int context);
  // Shows the window with the keyword index focused, starting from `key`.
  void ShowSearch(const QString& key = {});

  // Context of the page shown, -1 for a page that is not a topic.
  int currentContext() const { return current_; }
  QString currentTitle() const;
  QTextBrowser* browser() const { return browser_; }
  QLineEdit* searchField() const { return search_; }
  QListWidget* indexList() const { return index_; }
  // The modal window the viewer belongs to for now; null when on its own.
  QWidget* host() const { return host_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  explicit HelpViewer(QWidget* parent = nullptr);
  void BuildIndex();
  void FilterIndex(const QString& text);
  void OpenIndexItem(QListWidgetItem* item);
  void SourceChanged(const QUrl& url);
  void Present();
  void AttachTo(QWidget* host);

  QTextBrowser* browser_;
  QLineEdit* search_;
  QListWidget* index_;
  QLabel* status_;
  int current_ = -1;
  QPointer<QWidget> host_;
  bool placed_ = false;
};

}  // namespace brevika
