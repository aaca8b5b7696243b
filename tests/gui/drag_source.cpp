// A drag source in a process of its own, as a file manager is one: a small
// window that starts a drag of the files named on its command line when the
// left button is pressed on it, offering them to copy, move or link and
// proposing to move them, as file managers do between folders of one disk.
// When the drag ends as a move the files are deleted, as a file manager
// deletes what was moved.
//
//   gui_drag_source LEFT TOP FILE...
//
// It tells on standard output, one line each: "ready L T W H" once its
// window is on the screen, "drag" when a drag starts, "action A at X Y"
// whenever the action the drop target answers (Qt::DropAction, 0 for
// "no") or the pointer changes during the drag, and "ended A" with the
// action the drag ended with.
#include <QApplication>
#include <QCursor>
#include <QDrag>
#include <QFile>
#include <QMimeData>
#include <QMouseEvent>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include <cstdio>

namespace {

void Tell(const QString& line) {
  std::printf("%s\n", line.toUtf8().constData());
  std::fflush(stdout);
}

class Source final : public QWidget {
 public:
  explicit Source(QList<QUrl> files) : files_(std::move(files)) {
    setWindowTitle(QStringLiteral("drag source"));
  }

 protected:
  void showEvent(QShowEvent* e) override {
    QWidget::showEvent(e);
    // Once the window manager has placed the window.
    QTimer::singleShot(300, this, [this] {
      const QRect g = frameGeometry();
      Tell(
          QStringLiteral("ready %1 %2 %3 %4").arg(g.x()).arg(g.y()).arg(g.width()).arg(g.height()));
    });
  }

  void mousePressEvent(QMouseEvent* e) override {
    if (e->button() != Qt::LeftButton) return;
    auto* drag = new QDrag(this);
    auto* mime = new QMimeData;
    mime->setUrls(files_);
    drag->setMimeData(mime);
    // The connections go with this scope (Qt deletes the drag later).
    QObject scope;
    Qt::DropAction answered = Qt::IgnoreAction;
    QPoint at;
    auto tellAnswer = [&] {
      Tell(QStringLiteral("action %1 at %2 %3").arg(int(answered)).arg(at.x()).arg(at.y()));
    };
    connect(drag, &QDrag::actionChanged, &scope, [&](Qt::DropAction a) {
      // The answer is for where the pointer is now, which the polling
      // below may not have seen yet.
      answered = a;
      at = QCursor::pos();
      tellAnswer();
    });
    // The pointer, as the drag follows it.
    QTimer follow;
    follow.setInterval(5);
    connect(&follow, &QTimer::timeout, &scope, [&] {
      const QPoint now = QCursor::pos();
      if (now == at) return;
      at = now;
      tellAnswer();
    });
    follow.start();
    Tell(QStringLiteral("drag"));
    const Qt::DropAction ended =
        drag->exec(Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, Qt::MoveAction);
    follow.stop();
    Tell(QStringLiteral("ended %1").arg(int(ended)));
    if (ended == Qt::MoveAction) {
      for (const QUrl& url : files_) QFile::remove(url.toLocalFile());
    }
  }

 private:
  QList<QUrl> files_;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 4) return 2;
  QList<QUrl> files;
  for (int i = 3; i < argc; ++i) files << QUrl::fromLocalFile(QString::fromLocal8Bit(argv[i]));
  Source source(files);
  source.setGeometry(QString::fromLatin1(argv[1]).toInt(), QString::fromLatin1(argv[2]).toInt(),
                     160, 90);
  source.show();
  return app.exec();
}
