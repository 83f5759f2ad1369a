/* The program's resource names and ids, shared by the resource script, the
   code and the icon tool. Plain macros, as the resource compiler reads only
   the preprocessor's language. */
#pragma once

/* The heart icon copied onto the desktop, a resource of type CUSTOM. */
#define CORVELLA_HEART_RESOURCE "HEART"

/* The program's icon: group 1, whose one entry is image 30001. */
#define CORVELLA_ICON_GROUP 1
#define CORVELLA_ICON_IMAGE 30001
