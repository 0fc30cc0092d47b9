// The main window's list draws its rows exactly as the standard delegate
// would, whatever changed since the last paint: the texts, the width, the
// font or the colours.
#include "ui/list_view.h"

#include <QStandardItemModel>
#include <QStringListModel>
#include <QStyledItemDelegate>
#include <QTest>
#include <QTreeView>

using namespace helicordia;

class ListViewTest : public QObject {
    Q_OBJECT

private slots:
    void rowsLookAsTheStandardDelegateDrawsThem()
    {
        QWidget window; // one window, so that both lists are equally active
        QStringListModel model;
        QTreeView cached(&window), standard(&window);
        for (QTreeView *view : {&cached, &standard}) {
            SetUpListView(view);
            view->setModel(&model);
            view->setFont(QFont(QStringLiteral("Arial"), 9));
        }
        standard.setItemDelegate(new QStyledItemDelegate(&standard));
        window.show();

        const QString wide = QStringLiteral("_0011. A note much wider than the list, so that its end is elided");
        QStringList texts;
        for (int n = 0; n < CachedTextDelegate::MaxCached + 40; ++n)
            texts << QStringLiteral("#%1. Entry %1 ").arg(n, 4, 10, QLatin1Char('0'));
        const auto delegate = qobject_cast<CachedTextDelegate *>(cached.itemDelegate());
        QVERIFY(delegate);

        const auto compare = [&](const char *step, const std::function<void(QTreeView &)> &change) {
            for (QTreeView *view : {&cached, &standard})
                change(*view);
            const QImage drawn = cached.grab().toImage(), expected = standard.grab().toImage();
            if (drawn != expected) {
                drawn.save(QStringLiteral("list_view_%1_drawn.png").arg(QLatin1String(step)));
                expected.save(QStringLiteral("list_view_%1_expected.png").arg(QLatin1String(step)));
                QFAIL(step);
            }
            QVERIFY(delegate->cachedTexts() <= CachedTextDelegate::MaxCached);
            QVERIFY(delegate->pictureBytes() <= CachedTextDelegate::MaxPictureBytes);
        };

        model.setStringList({wide, texts[0], texts[1], QStringLiteral("#0002. Short ")});
        compare("first", [&](QTreeView &view) {
            view.resize(300, 120);
            view.setCurrentIndex(model.index(1, 0));
        });
        // Rows drawn again unchanged, then with the selection moved.
        compare("again", [](QTreeView &) {});
        compare("selection", [&](QTreeView &view) { view.setCurrentIndex(model.index(2, 0)); });
        // A new search lists other texts in the same rows.
        model.setStringList({texts[2], wide + u'!', texts[3]});
        compare("newTexts", [&](QTreeView &view) { view.setCurrentIndex(model.index(0, 0)); });
        compare("narrower", [&](QTreeView &view) { view.resize(180, 120); });
        compare("wider", [&](QTreeView &view) { view.resize(520, 120); });
        compare("font", [&](QTreeView &view) { view.setFont(QFont(QStringLiteral("Arial"), 12, QFont::Bold)); });
        compare("palette", [&](QTreeView &view) {
            QPalette palette = view.palette();
            palette.setColor(QPalette::Text, Qt::darkRed);
            palette.setColor(QPalette::Highlight, Qt::darkGreen);
            view.setPalette(palette);
        });
        compare("disabled", [&](QTreeView &view) { view.setEnabled(false); });
        // More rows than the cache holds, all drawn at once.
        model.setStringList(texts);
        compare("many", [&](QTreeView &view) {
            view.setEnabled(true);
            view.resize(300, 20 * static_cast<int>(texts.size()));
        });
        // Rows drawn again as pictures, so wide that not all pictures fit.
        model.setStringList(texts.mid(0, 100));
        compare("wideRows", [](QTreeView &view) { view.resize(2000, 2000); });
        compare("wideRowsAgain", [](QTreeView &) {});
        compare("wideRowsFromPictures", [](QTreeView &) {});
        QVERIFY(delegate->pictureBytes() > CachedTextDelegate::MaxPictureBytes / 2);
    }
};

QTEST_MAIN(ListViewTest)
#include "list_view_test.moc"
