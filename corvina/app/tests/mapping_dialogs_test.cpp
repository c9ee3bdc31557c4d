// The mapping dialogs as corvina-cli and the window see them: captions, the
// field names scripts use, start values and ranges.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/dialogs/mapping_dialogs.h"
#include "app/dialogs/normal_smoothing_dialog.h"

namespace corvina {
namespace {

std::vector<std::string> fieldNames(const OptionDialog& dialog) {
  std::vector<std::string> names;
  for (const OptionField& field : dialog.fields) names.push_back(field.name);
  return names;
}

const OptionField& field(const OptionDialog& dialog, const std::string& name) {
  for (const OptionField& f : dialog.fields)
    if (f.name == name) return f;
  throw std::runtime_error("no field " + name);
}

TEST(MappingDialogs, CaptionsAndTheFieldNamesScriptsUse) {
  MappingRecords records;
  struct Case {
    OptionDialog dialog;
    std::string caption;
    std::vector<std::string> names;
  };
  const std::vector<std::string> radial = {"gaps",        "alignment", "mapSize",
                                           "offsetX",     "offsetY",   "offsetZ",
                                           "scaleResult", "rotation",  "spreadAtPoles"};
  const Case cases[] = {
      {planarMappingDialog(records.planar),
       "Planar Mapping",
       {"mapSize", "alignment", "orientation", "gaps", "offset", "split", "scaleResult"}},
      {boxMappingDialog(records.box), "Box Mapping", {"split", "gaps", "mapSize", "scaleResult"}},
      {radialMappingDialog(records.cylindrical, RadialKind::Cylindrical), "Cylindrical Mapping",
       radial},
      {radialMappingDialog(records.cylindricalCap, RadialKind::CylindricalCap),
       "Cylindrical Cap Mapping", radial},
      {radialMappingDialog(records.spherical, RadialKind::Spherical), "Spherical Mapping", radial},
      {perFacetMappingDialog(records.perFacet),
       "Per Facet Mapping",
       {"multipleMaps", "arrangeBy", "mapSize", "gap"}},
      {tileOptionsDialog(records.tile), "Tile Options", {"gaps", "rescale"}},
      {rotateModelDialog(records.rotate), "Rotate Model", {"x", "y", "z"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.dialog.caption, c.caption);
    EXPECT_EQ(fieldNames(c.dialog), c.names) << c.caption;
  }
}

TEST(MappingDialogs, RangesOfTheEdits) {
  MappingRecords records;
  struct Case {
    OptionDialog dialog;
    const char* name;
    double minimum, maximum;
  };
  const Case cases[] = {
      {planarMappingDialog(records.planar), "mapSize", 1, 8192},
      {planarMappingDialog(records.planar), "offset", 0, 0},  // any number
      {boxMappingDialog(records.box), "mapSize", 1, 8192},
      {radialMappingDialog(records.spherical, RadialKind::Spherical), "rotation", 0, 359},
      {radialMappingDialog(records.spherical, RadialKind::Spherical), "offsetY", 0, 0},
      {perFacetMappingDialog(records.perFacet), "gap", 0.0, 1.0},
      {rotateModelDialog(records.rotate), "y", -360, 360},
  };
  for (const Case& c : cases) {
    const OptionField& f = field(c.dialog, c.name);
    EXPECT_EQ(f.minimum, c.minimum) << c.dialog.caption << " " << c.name;
    EXPECT_EQ(f.maximum, c.maximum) << c.dialog.caption << " " << c.name;
  }
}

TEST(MappingDialogs, FieldsEditTheirOwnRecord) {
  MappingRecords records;
  // The three radial projections keep separate records.
  OptionDialog cylindrical = radialMappingDialog(records.cylindrical, RadialKind::Cylindrical);
  *field(cylindrical, "rotation").intValue = 90;
  *field(cylindrical, "alignment").intValue = kAxisZ;
  EXPECT_EQ(records.cylindrical.rotation, 90);
  EXPECT_EQ(records.cylindrical.alignment, kAxisZ);
  EXPECT_EQ(records.spherical.rotation, 0);
  EXPECT_EQ(records.cylindricalCap.alignment, kAxisY);

  OptionDialog planar = planarMappingDialog(records.planar);
  const OptionField& split = field(planar, "split");
  EXPECT_EQ(split.choices, (std::vector<std::string>{"none", "orientation", "position"}));
  EXPECT_EQ(*split.intValue, 1);
  *field(planar, "offset").floatValue = 0.25f;
  EXPECT_EQ(records.planar.offset, 0.25f);
}

// Every radio group shows the dialog's own texts on its buttons, one per word
// corvina-cli takes.
TEST(MappingDialogs, RadioButtonsCarryTheirTexts) {
  MappingRecords records;
  SmoothingOptions smoothing;
  struct Case {
    OptionDialog dialog;
    std::string name;
    std::vector<std::string> buttons;
  };
  const Case cases[] = {
      {planarMappingDialog(records.planar), "alignment", {"X-Axis", "Y-Axis", "Z-Axis"}},
      {planarMappingDialog(records.planar), "orientation", {"Horizontal", "Vertical"}},
      {planarMappingDialog(records.planar),
       "split",
       {"Don't Split", "By Orientation", "By Position with Offset of"}},
      {radialMappingDialog(records.spherical, RadialKind::Spherical),
       "alignment",
       {"X-Axis", "Y-Axis", "Z-Axis"}},
      {perFacetMappingDialog(records.perFacet),
       "arrangeBy",
       {"Model Order", "Group", "Material", "Region"}},
      {smoothingOptionsDialog(smoothing),
       "scope",
       {"Using all facets", "Smooth by Group", "Smooth by Material", "Smooth by Region"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const OptionField& choice = field(c.dialog, c.name);
    EXPECT_EQ(choice.choiceLabels, c.buttons);
    EXPECT_EQ(choice.choices.size(), c.buttons.size());
  }
}

TEST(MappingRecords, StartValues) {
  const MappingRecords r;
  EXPECT_EQ(r.planar.mapSize, 1024);
  EXPECT_EQ(r.planar.alignment, kAxisZ);
  EXPECT_EQ(r.planar.split, 1);
  EXPECT_TRUE(r.planar.gaps);
  EXPECT_TRUE(r.box.split);
  EXPECT_EQ(r.spherical.alignment, kAxisY);
  EXPECT_TRUE(r.spherical.spreadAtPoles);
  EXPECT_FLOAT_EQ(r.perFacet.gap, 0.08f);
  EXPECT_TRUE(r.tile.gaps);
  EXPECT_FALSE(r.tile.rescale);
  EXPECT_EQ(r.degreeTables.cosine[0], 1.0f);
}

}  // namespace
}  // namespace corvina
