#define IDI_TWO_SIZES 101
#define IDM_MAIN 200
#define IDM_NEW 201
#define IDM_OPEN 202
#define IDM_EXIT 203
#define IDM_HELP 204
