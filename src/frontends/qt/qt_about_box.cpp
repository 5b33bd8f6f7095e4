// The About dialog. Its OK button, its close box and Esc all unload it through the event
// boundary, as the OK button's handler does.
#include "frontends/qt/qt_about_box.h"

#include <QCloseEvent>
#include <QDialog>
#include <QFont>
#include <QLabel>
#include <QPushButton>

#include "frontends/qt/pictures.h"
#include "frontends/qt/twips.h"
#include "wizard/events.h"

namespace qtui {

namespace {

class AboutDialog : public QDialog {
  public:
    explicit AboutDialog(QWidget* owner) : QDialog(owner) {}

  protected:
    void closeEvent(QCloseEvent* event) override {
        event->ignore();
        wizard::handle(wizard::Event::aboutOkClick);
    }
    void reject() override { wizard::handle(wizard::Event::aboutOkClick); }
};

}  // namespace

QtAboutBox::~QtAboutBox() {
    delete dialog_;
}

void QtAboutBox::load() {
    if (dialog_ != nullptr)
        return;
    ++loads_;
    auto* d = new AboutDialog(owner_);
    d->setObjectName("frmAbout");
    d->setModal(false);
    d->setFixedSize(pxX(d, 5730), pxY(d, 3270));

    auto place = [d](QWidget* w, const char* name, int left, int top, int width, int height) {
        w->setObjectName(name);
        w->setGeometry(twipsRect(d, left, top, width, height));
    };
    auto* icon = new QLabel(d);
    place(icon, "picIcon", 240, 240, 540, 540);
    const double dpr = d->devicePixelRatioF();
    QPixmap picture =
        QPixmap::fromImage(pictures::applicationIcon(static_cast<int>(32 * pictureScale(d) * dpr)));
    picture.setDevicePixelRatio(dpr);
    icon->setPixmap(picture);
    icon->setAlignment(Qt::AlignCenter);

    d->setFont(narrowSans(d->font()));
    auto* title = new QLabel(d);
    place(title, "lblTitle", 1050, 240, 3885, 480);
    QFont big = title->font();
    big.setPointSizeF(big.pointSizeF() * 1.25);
    big.setBold(true);
    title->setFont(big);
    title->setWordWrap(true);
    auto* version = new QLabel(d);
    place(version, "lblVersion", 1050, 780, 3885, 225);
    auto* description = new QLabel(d);
    place(description, "lblDescription", 1050, 1125, 3885, 1170);
    description->setWordWrap(true);
    description->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    for (QLabel* l : {title, version, description})
        l->setTextFormat(Qt::PlainText);

    auto* ok = new QPushButton("OK", d);
    place(ok, "cmdOK", 2160, 2640, 1260, 345);
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, d,
                     [] { wizard::handle(wizard::Event::aboutOkClick); });

    dialog_ = d;
    caption_.clear();
    d->setWindowTitle(QString());
    for (QtLabel* l : {&title_, &version_, &description_})
        l->setCaption("");
    title_.attach(title);
    version_.attach(version);
    description_.attach(description);
}

void QtAboutBox::unload() {
    if (dialog_ == nullptr)
        return;
    title_.attach(nullptr);
    version_.attach(nullptr);
    description_.attach(nullptr);
    dialog_->hide();
    // The dialog may be inside one of its own event handlers right now.
    dialog_->deleteLater();
    dialog_ = nullptr;
}

void QtAboutBox::show() {
    if (dialog_ == nullptr)
        load();
    dialog_->show();
    dialog_->raise();
    dialog_->activateWindow();
}

void QtAboutBox::setCaption(const std::string& caption) {
    caption_ = caption;
    if (dialog_ != nullptr)
        dialog_->setWindowTitle(QString::fromStdString(caption));
}

}  // namespace qtui
