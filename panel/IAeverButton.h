#pragma once

#include "panel/IAeverGeometria.h"

#include <QAbstractButton>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QRegion>

// Shapes, bevels, gradients and caption styles of the shaped button. The
// program draws bkRect and bkRoundRect with a linear or no gradient and a
// simple caption, centred; the other values are kept so that a window can
// set them, and are drawn like their plain relatives (other shapes as a
// rectangle, the circular gradient as the linear one).
enum TIAButtonKind {
    bkRect,
    bkRoundRect,
    bkElliptic,
    bkPoly,
    bkPolyStar,
    bkArc,
    bkDonut,
    bkUser,
    bkArrow,
    bkArrow1,
    bkArrow2,
    bkCross,
    bkCutRect,
    bkCross1
};
enum TIA3DKind {
    dk3D,
    dkFlatten,
    dk3dsimple,
    dkFlattenSimple,
    dk3dBorder,
    dk3dBorderFlatten,
    dkNone
};
enum TIAGradientKind { gkNone, gkLinear, gkCircular };
enum TIACaption3dKind { ckSimple, ckEmbossed, ckPressed };
enum TIAHAlign { haLeft, haCenter, haRight, haNone };
enum TIAVAlign { vaTop, vaCenter, vaBottom, vaNone };

// A push button that draws its own face: a rounded outline that is also the
// widget's mask (clicks outside it do not press), a two-colour gradient, a
// bevel of ButtonDepth pixels and the caption in Verdana. Clicks, Space,
// the "&" accelerator, focus and the pressed state are QAbstractButton's.
//
// The colours, sizes and flags are also Qt properties under their own names,
// so a window may set them by name: setProperty("ButtonColor", colour).
class TIAeverButton : public QAbstractButton {
    Q_OBJECT
    Q_PROPERTY(QColor ButtonColor READ ButtonColor WRITE SetButtonColor)
    Q_PROPERTY(QColor ButtonColor1 READ ButtonColor1 WRITE SetButtonColor1)
    Q_PROPERTY(int ButtonWidth READ ButtonWidth WRITE SetButtonWidth)
    Q_PROPERTY(int ButtonHeight READ ButtonHeight WRITE SetButtonHeight)
    Q_PROPERTY(int ButtonDepth READ ButtonDepth WRITE SetButtonDepth)
    Q_PROPERTY(bool ShowFocusRGN READ ShowFocusRGN WRITE SetShowFocusRGN)
    Q_PROPERTY(int GradientAngle READ GradientAngle WRITE SetGradientAngle)
    Q_PROPERTY(int ButtonAngle READ ButtonAngle WRITE SetButtonAngle)
    Q_PROPERTY(int CaptionAngle READ CaptionAngle WRITE SetCaptionAngle)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
    Q_PROPERTY(bool Rotated READ Rotated WRITE SetRotated)
    Q_PROPERTY(bool CaptionFixed READ CaptionFixed WRITE SetCaptionFixed)
    Q_PROPERTY(bool GradientFixed READ GradientFixed WRITE SetGradientFixed)
    Q_PROPERTY(int RotationPointX READ RotationPointX WRITE SetRotationPointX)
    Q_PROPERTY(int RotationPointY READ RotationPointY WRITE SetRotationPointY)
    Q_PROPERTY(int GradientBitmapLine READ GradientBitmapLine WRITE SetGradientBitmapLine)
    Q_PROPERTY(bool UserRGNAUTO READ UserRGNAUTO WRITE SetUserRGNAUTO)
    Q_PROPERTY(int PeaksNumber READ PeaksNumber WRITE SetPeaksNumber)
    Q_PROPERTY(double RadiusRatio READ RadiusRatio WRITE SetRadiusRatio)
    Q_PROPERTY(double ArcAngle READ ArcAngle WRITE SetArcAngle)

public:
    explicit TIAeverButton(QWidget* parent = nullptr);

    TIAButtonKind ButtonKind() const { return buttonKind_; }
    void SetButtonKind(TIAButtonKind kind);
    int ButtonWidth() const { return width(); }
    void SetButtonWidth(int w);
    int ButtonHeight() const { return height(); }
    void SetButtonHeight(int h);
    int ButtonDepth() const { return buttonDepth_; }
    void SetButtonDepth(int depth);

    QColor ButtonColor() const { return buttonColor_; }
    virtual void SetButtonColor(const QColor& colour);
    QColor ButtonColor1() const { return buttonColor1_; }
    virtual void SetButtonColor1(const QColor& colour);

    TIAGradientKind GradientKind() const { return gradientKind_; }
    void SetGradientKind(TIAGradientKind kind);
    TIA3DKind Button3DKind() const { return button3DKind_; }
    void SetButton3DKind(TIA3DKind kind);
    TIACaption3dKind Caption3dKind() const { return caption3dKind_; }
    void SetCaption3dKind(TIACaption3dKind kind);
    TIAHAlign CaptionHAlign() const { return captionHAlign_; }
    void SetCaptionHAlign(TIAHAlign align);
    TIAVAlign CaptionVAlign() const { return captionVAlign_; }
    void SetCaptionVAlign(TIAVAlign align);
    bool ShowFocusRGN() const { return showFocusRGN_; }
    void SetShowFocusRGN(bool show);

    // Stored for the windows that set them; the program's buttons neither
    // rotate nor use these shapes, so they change nothing on screen.
    int GradientAngle() const { return gradientAngle_; }
    void SetGradientAngle(int tenthsOfDegree) { gradientAngle_ = tenthsOfDegree; }
    int ButtonAngle() const { return buttonAngle_; }
    void SetButtonAngle(int tenthsOfDegree) { buttonAngle_ = tenthsOfDegree; }
    int CaptionAngle() const { return captionAngle_; }
    void SetCaptionAngle(int tenthsOfDegree) { captionAngle_ = tenthsOfDegree; }
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool on) { transparent_ = on; }
    bool Rotated() const { return rotated_; }
    void SetRotated(bool on) { rotated_ = on; }
    bool CaptionFixed() const { return captionFixed_; }
    void SetCaptionFixed(bool on) { captionFixed_ = on; }
    bool GradientFixed() const { return gradientFixed_; }
    void SetGradientFixed(bool on) { gradientFixed_ = on; }
    int RotationPointX() const { return rotationPointX_; }
    void SetRotationPointX(int x) { rotationPointX_ = x; }
    int RotationPointY() const { return rotationPointY_; }
    void SetRotationPointY(int y) { rotationPointY_ = y; }
    int GradientBitmapLine() const { return gradientBitmapLine_; }
    void SetGradientBitmapLine(int line) { gradientBitmapLine_ = line; }
    bool UserRGNAUTO() const { return userRGNAUTO_; }
    void SetUserRGNAUTO(bool on) { userRGNAUTO_ = on; }
    int PeaksNumber() const { return peaksNumber_; }
    void SetPeaksNumber(int peaks) { peaksNumber_ = peaks; }
    double RadiusRatio() const { return radiusRatio_; }
    void SetRadiusRatio(double ratio) { radiusRatio_ = ratio; }
    double ArcAngle() const { return arcAngle_; }
    void SetArcAngle(double radians) { arcAngle_ = radians; }

    // The caption's font: the widget's, size and all, in Verdana where it is
    // installed, else in its closest free relative.
    QFont CzcionkaNapisu() const;

    // The region of the current shape, in widget coordinates.
    const QRegion& WindowRegion() const { return windowRegion_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool hitButton(const QPoint& pos) const override;

private:
    struct StanLica {
        bool wcisniety = false;
        bool aktywny = true;
        bool skupiony = false; // drawn only with ShowFocusRGN
        bool operator==(const StanLica&) const = default;
    };

    void ZbudujKsztalt();
    void ZbudujLico(const StanLica& stan);
    QSize RozmiarLica() const; // in the screen's pixels
    void Zmieniono();          // a property changed: rebuild the face and repaint
    StanLica BiezacyStan() const;
    void RysujGradient(QPainter& painter, const QColor& gora, const QColor& dol) const;
    void RysujNapis(QPainter& painter, bool wcisniety) const;

    TIAButtonKind buttonKind_ = bkRect;
    int buttonDepth_ = 2;
    QColor buttonColor_;
    QColor buttonColor1_;
    TIAGradientKind gradientKind_ = gkNone;
    TIA3DKind button3DKind_ = dk3D;
    TIACaption3dKind caption3dKind_ = ckSimple;
    TIAHAlign captionHAlign_ = haCenter;
    TIAVAlign captionVAlign_ = vaCenter;
    bool showFocusRGN_ = true;
    int gradientAngle_ = 450;
    int buttonAngle_ = 0;
    int captionAngle_ = 0;
    bool transparent_ = false;
    bool rotated_ = false;
    bool captionFixed_ = false;
    bool gradientFixed_ = false;
    int rotationPointX_ = 0;
    int rotationPointY_ = 0;
    int gradientBitmapLine_ = 0;
    bool userRGNAUTO_ = true;
    int peaksNumber_ = 6;
    double radiusRatio_ = 0.5;
    double arcAngle_ = 2.0943951023932;

    QSize ksztaltDla_;        // the size the regions were built for
    qreal skalaKsztaltu_ = 1; // and the screen's scale
    QRegion windowRegion_;
    QRegion focusRegion_;       // drawn only with ShowFocusRGN
    iaever::PolowkiFazy bevel_; // in the face's pixels, as ramka_
    QRegion ramka_;
    QImage face_;
    StanLica stanLica_;
    bool liceNieaktualne_ = true;
};
