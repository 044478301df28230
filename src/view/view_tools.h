#pragma once

#include "geometry/3d_point.h"
#include "model/tapoff/tap_off_outlets.h"
#include "platform/draw_types.h"

#include <optional>
#include <string>
#include <vector>

class CAnnotation;
class CAnnotationLabel;
class CAnnotationPlaces;
class CBox;
class CDev;
class CDorneDoc;

// The keys and buttons held with a mouse event.
enum EToolKeys : int {
  kToolKeyLeft = 1,
  kToolKeyRight = 2,
  kToolKeyShift = 4,
  kToolKeyControl = 8,
  kToolKeyMiddle = 16
};

// One mouse event: the client point, the same point in logical (scene) units, the keys.
struct CToolInput {
  CPoint device;
  CPoint logical;
  int keys = 0;
};

// What the tools ask of the window they work in.
class CViewToolHost {
 public:
  virtual ~CViewToolHost() = default;
  virtual void Beep() = 0;
  virtual void Refresh() = 0;
  virtual void SetCursor(int cursor) = 0;
  virtual void SetPrompt(int message) = 0;
  virtual void Capture(bool on) = 0;
  virtual bool HasCapture() const = 0;
  // The length question: the answer, or nothing when it was not confirmed.
  virtual std::optional<std::string> AskText(int message, const std::string& text) = 0;
  // The logical point of a client point with the view window as it is now.
  virtual CPoint ToLogical(CPoint device) const = 0;
  virtual CPoint ToDevice(CPoint logical) const = 0;
  // The client area in device pixels.
  virtual CRect ClientRect() const = 0;
  virtual bool ZoomToRect(CPoint first, CPoint second) = 0;
  // The picture of a client rectangle (all zero: the whole view).
  virtual void ExportViewImage(const CRect& rect) = 0;
  // The view's preset found anew from the angles.
  virtual void FindViewPreset() = 0;
  virtual void SetDistanceLayer(bool on) = 0;
  // Where this view's last pass drew the labels: the mouse finds them there.
  virtual const CAnnotationPlaces& LabelPlaces() const = 0;
  // The dialog of a user's text, picture or dimension: 1 OK, 2 Cancel, 3 Delete (0: none
  // was shown). A new picture's dialog asks for the file at once.
  virtual int EditAnnotation(CAnnotationLabel& label, bool isNew) = 0;
  // The project information dialog (a double click on the title block).
  virtual void EditProjectInfo() {}
  // The tap-off dialog: 1 OK (code: the tap-off code chosen), 6 loads computed, else
  // nothing.
  virtual int RunTapOffDialog(int& code) = 0;
  // Places (or, with a unit, moves or copies) a tap-off unit at the outlet; non-zero
  // when placed.
  virtual int PlaceTapOffUnit(CBox& box, int code, CDev* unit) = 0;
  // The release of a turned view: true when the host settles the scene itself, aside, and
  // shows its full picture once done (the tools then leave the scene and the picture
  // alone); false when the tools are to rebuild the scene now.
  virtual bool SettleTurnAside() { return false; }
  // Tells the user in the status line why a click changed nothing, or what stops the tool.
  virtual void Tell(const std::string& /*text*/) {}
};

// The tool modes of the layout view without the window: the document holds the mode,
// this object the gesture under way. Every press, move and release becomes one call
// on the document or the view window with its undo step; a click the mode cannot use
// beeps and changes nothing.
class CViewTools {
 public:
  enum Mode : int {
    kSelect = 0,
    kAddStraight = 1,
    kInsertUnit = 2,
    kTurn = 3,
    kMakeEnd = 4,
    kInsertInLine = 5,
    kInsertJoint = 6,
    kRectangle = 7,
    kPanArmed = 8,
    kPanDragging = 9,
    kPlaceStart = 10,
    kAnnotationDrag = 11,
    kMoveRun = 12,
    kOrbit = 13,
    kDimension = 14,
    kTapOff = 15,
    kModeCount = 16
  };
  // Lengths a typed answer may give, in scene units.
  static constexpr std::int64_t kMaxTypedLength = 100000;

  CViewTools(CDorneDoc& document, CViewToolHost& host) : m_document(document), m_host(host) {}

  int Mode() const;
  int SavedMode() const { return m_savedMode; }
  int PickState() const { return m_pickState; }
  // In the tap-off tool: the chosen unit's outlet code, negative while a unit is moved.
  int SecondCode() const { return m_secondCode; }
  CPoint PressPoint() const { return m_pressPoint; }
  CPoint CurrentPoint() const { return m_currentPoint; }
  CPoint LastMousePoint() const { return m_lastMouse; }
  bool OrbitActive() const { return m_orbitActive; }
  // The annotation being dragged (mode 11) and how far, in device pixels; null otherwise.
  const CAnnotation* DraggedAnnotation() const { return m_dragged; }
  CPoint DragShift() const;
  std::optional<C3DPoint> FirstPoint() const;
  std::optional<C3DPoint> SecondPoint() const;
  // The cursor and the prompt of a mode (0: none, the prompt line keeps its text); the
  // run tool prompts for a move or a copy by its pick state.
  static int CursorOf(int mode, int pickState);
  static int PromptOf(int mode, int pickState = 0);
  // In the tap-off tool: the outlets of the current run that take the chosen unit, free
  // or taken, drawn for the user to click; empty in any other mode.
  std::vector<CTapOffOutlet> OfferedOutlets() const;
  // How near, in pixels, the pointer must come to an offered outlet to take it.
  static constexpr int kOutletReach = 10;
  // The direction ray a click would take, in the modes that draw rays from the insertion
  // point (1, 3, 10, 12): its axis bit when the pointer lies along a drawn ray, else 0.
  int HoveredAxis() const;
  // Why the turn tool cannot turn the current element; empty when it may.
  std::string TurnRefusal() const;
  // Whether OnCommand runs the command.
  static bool Handles(int command);
  // The text of the distance pane: the length toward the last mouse point along a free
  // direction, formatted; empty otherwise.
  std::string DistanceText() const;

  void OnLButtonDown(const CToolInput& input);
  void OnMouseMove(const CToolInput& input);
  void OnLButtonUp(const CToolInput& input);
  void OnLButtonDblClk(const CToolInput& input);
  void OnRButtonDown(const CToolInput& input);
  void OnRButtonDblClk(const CToolInput& input);
  void OnMButtonDown(const CToolInput& input);
  void OnMButtonUp(const CToolInput& input);
  // Enter and Escape; false for keys left to the window.
  bool OnKeyDown(int key, int keys);
  void OnKeyUp(int keys);
  void FinishMouseAction();

  // The tool commands by number; false for any other command.
  bool OnCommand(int command);
  // Shows the cursor and the prompt of the document's mode.
  void ShowModeCursorAndPrompt();
  // The points and boxes found under the mouse are dropped (the runs they lay on may
  // have gone: a run removed, a step undone).
  void ForgetPicks();

  static constexpr int kKeyEnter = 13;
  static constexpr int kKeyEscape = 27;

 private:
  void SetMode(int mode) const;
  void SetModeCursor(int mode) { m_host.SetCursor(CursorOf(mode, m_pickState)); }
  void SetModePrompt(int mode);
  // A beep, and the text of the message (%1 filled) in the status line.
  void Refuse(int message, const std::string& parameter = {});
  void EndCommand();
  void SelectCommand();
  void ElementToolCommand(int mode);
  void RectangleEntry(int pickState);
  void PanCommand();
  void OrbitCommand();
  void DimensionCommand();
  void RunCommand(int pickState);
  void TapOffCommand();
  void DeleteElementCommand();

  void ElementToolPress(int mode, CPoint point);
  void PlaceStartPress(const CToolInput& input);
  void MoveRunPress(const CToolInput& input);
  void OrbitPress(const CToolInput& input);
  void DimensionPress();
  void TapOffPress();
  void SelectPress(const CToolInput& input);
  void OrbitMove(CPoint device);
  void PanMove(CPoint logical);
  void HoverMove(const CToolInput& input);
  // The offered outlet nearest the pointer within reach, free or taken.
  std::optional<CTapOffOutlet> OutletNear(CPoint device) const;
  void TapOffRelease(int keys);
  void RectangleRelease(CPoint logical);
  bool GrabbedUnitLeft(CPoint logical, int keys);
  // The typed length toward the point along its axis: the axis bit and the length, or
  // nothing (a beep was given when the answer could not be used).
  struct CTypedMove {
    int axis = -1;
    std::int64_t length = 0;
  };
  std::optional<CTypedMove> AskTypedMove(CPoint logical, bool roundToFour);
  void CreateDimension();
  CDev* SelectedTapOff() const;
  // The annotations under the mouse: grabbed for a drag, dropped, edited, reset, made.
  bool GrabAnnotation(const CToolInput& input);
  void SelectElementAt(const CToolInput& input);
  void DragAnnotation(const CToolInput& input);
  void DropAnnotation(const CToolInput& input);
  bool EditAnnotationAt(const CToolInput& input);
  bool ResetAnnotationAt(const CToolInput& input);
  void NewLabelCommand(int kind);
  int RunEdit(CAnnotationLabel& label, bool isNew);

  CDorneDoc& m_document;
  CViewToolHost& m_host;
  int m_savedMode = 0;
  int m_pickState = 0;
  CPoint m_pressPoint;
  CPoint m_currentPoint;
  CPoint m_lastMouse;
  C3DPoint m_orbitAnchor;
  bool m_orbitActive = false;
  C3DPoint m_firstPoint;
  C3DPoint m_secondPoint;
  int m_firstCode = 0;
  int m_secondCode = 0;
  CBox* m_firstBox = nullptr;
  CBox* m_secondBox = nullptr;
  // The pointer is at an outlet on which a unit stands already.
  bool m_outletTaken = false;
  // The ray last drawn apart, to redraw only when the pointer leaves it.
  int m_hoveredAxis = 0;
  CAnnotation* m_dragged = nullptr;
  bool m_dragWorld = false;
  CToolInput m_pressInput;
};

// The typed-length rules: the answer as a whole number of scene units (a text that is
// not a length gives nothing), rounded up to a multiple of four when asked (the
// remainder taken with the sign of the number, so -1..-3 give 4).
std::optional<std::int64_t> ParseTypedLength(const CDorneDoc& document, const std::string& text,
                                             bool roundToFour);
// The vector by which a run moves when the length is typed toward an axis: toward the
// picked side, as the start point moves; the null vector for any other axis.
C3DPoint RunMoveVector(int axis, std::int64_t length);
