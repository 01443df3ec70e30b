#pragma once
// ElidedLabel: a one-line label that shows as much of its text as its width allows, cutting
// in the middle ("/home/ana/…/pendentes.xlsx") so that both the start and the end of a path
// stay readable. It never asks for more width than a short text needs, so a long text does
// not widen the window holding it. The whole text is its tooltip and fullText().
#include <QLabel>
#include <QString>

namespace talvers {

class ElidedLabel : public QLabel {
    Q_OBJECT
  public:
    explicit ElidedLabel(QWidget* parent = nullptr);

    void setFullText(const QString& text);
    const QString& fullText() const { return fullText_; }

    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void elide();

    QString fullText_;
};

}  // namespace talvers
