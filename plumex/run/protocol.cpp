#include "plumex/run/protocol.h"

#include <cstdio>

void print_banner() {
  std::printf("\n\n\n *******************************************\n");
  std::printf(" *     W I N D   T U N N E L - D A T A     *\n");
  std::printf(" *             A N A L Y S I S             *\n");
  std::printf(" *                                         *\n");
  std::printf(" *                 PLUMEX                  *\n");
  std::printf(" * --------------------------------------- *\n");
  std::printf(" *******************************************\n\n\n");
}

void print_settings_protocol(const CcSettings& settings, const CcDescription& description) {
  std::printf("\n\n The adjustments of this run are:\n\n");
  std::printf(" input-file                 : %s\n", settings.INPUTF);
  std::printf(" main project name          : %s\n", description.main_project);
  std::printf(" sub project name           : %s\n", description.sub_project);
  std::printf(" wind tunnel                : %s\n", description.wind_tunnel);
  std::printf(" model-scale                : %i\n", settings.SCALE_);
  std::printf(" scale-factor               : %lf\n", settings.SC_FAC);
  std::printf(" reference height           : %5.3lf [m]\n", settings.REFHGT);
  std::printf(" wind direction             : %5.1lf [deg]\n", description.wind_direction_deg);
  std::printf(" type of measurement        : %s\n", description.meas_type);
  std::printf(" name of source             : %s\n", description.source_name);
  std::printf(" released gas               : %s\n", description.released_gas);
  std::printf(" threshold                  : %5.2lf [ppmvs]\n", settings.THRHLD);
  std::printf(" sampling frequency         : %5.2lf [Hz]\n", settings.SAMPLE);
  std::printf(" block size                 : %i\n", settings.BLCKSZ);
  std::printf(" time correction            : %5.3lf [s]\n", settings.T_NDLE);
  std::printf(" x-position for release     : %s [mm]\n", description.release_x);
  std::printf(" y-position for release     : %s [mm]\n", description.release_y);
  std::printf(" z-position for release     : %s [mm]\n", description.release_z);
  std::printf(" x-position for measurement : %5.1lf [mm]\n", settings.X_MEAS);
  std::printf(" y-position for measurement : %5.1lf [mm]\n", settings.Y_MEAS);
  std::printf(" z-position for measurement : %5.1lf [mm]\n", settings.Z_MEAS);
  std::printf(" coefficient a              : %5.2lf [(l/h)/V]\n", settings.COEF_A);
  std::printf(" coefficient b              : %5.2lf [l/h]\n\n\n", settings.COEF_B);
}
