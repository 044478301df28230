#pragma once

#include "pages/run_prop_page.h"

// The run's name and free comment ("Name", "Comment"), the comment of several lines.
class CRunCommentPage : public CRunPropPage {
 public:
  int GetPageKind() const override;
  int GetCaptionMessage() const override;

  const std::string& GetName() const { return m_name; }
  const std::string& GetComment() const { return m_comment; }
  void SetName(std::string name) { m_name = std::move(name); }
  void SetComment(std::string comment) { m_comment = std::move(comment); }

 protected:
  void DoLoad() override;
  CApplyOutcome DoApply() override;

 private:
  std::string m_name;
  std::string m_comment;
};
