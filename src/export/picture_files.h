#pragma once

#include <string>
#include <string_view>
#include <vector>

// The pictures of a layout document's views: how the picture export names them, and
// which pictures beside a document file belong to it and to which of its runs.

// The run's name with '\', '/', ':', '*', '?', '"', '<', '>' and '|' turned into '_'.
std::string PicturePart(std::string_view runName);

// "<document without .run> - <part><view>.<extension>": the view suffix " - top", " - btm",
// " - lft", " - rgt", " - frt", " - bck" for presets 8 to 13, " - 3d<preset + 1>" for 0 to
// 3, none for others and for DXF.
std::string ViewPictureName(std::string_view documentPath, std::string_view part, int preset,
                            std::string_view extension);

// Whether a file chosen for a picture or drawing of the document's view is named after
// the document, so that it is listed with the document's pictures: its name without the
// extension begins with the document's path without ".run", followed, after blanks, by
// "-" or by nothing. Any name is when the document has no file yet.
bool IsNamedAfterDocument(std::string_view documentPath, std::string_view chosenPath);

struct CPictureEntry {
  std::string path;
  int run = 0;  // 1-based; 0 the document
};

// The ".jpg" and ".bmp" files (any case) in the document's folder named after the document
// (its name without ".run", then blanks, "-" and anything), the runs' pictures numbered by
// their run, at most 100, in name order. None when the path does not end in ".run".
std::vector<CPictureEntry> PicturesBesideDocument(const std::string& documentPath,
                                                  const std::vector<std::string>& runNames);

// Deletes the pictures that the program names for the document: for a run name, or for
// the totals page's name, exactly as ViewPictureName writes them with any view suffix;
// a user's file that merely starts with the document's name stays. The number deleted.
int DeleteGeneratedPictures(const std::string& documentPath, const std::vector<std::string>& parts);
