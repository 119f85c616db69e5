/* Drops files onto the X window at a point of the screen the way a file
 * manager does, through the XDND protocol (version 5): enter, position,
 * drop, and the file list handed over as text/uri-list when asked. The
 * end-to-end test starts it to drop files onto the running program.
 * Usage: xdnd_drop X Y FILE...   (exit 0 when the target took the drop) */
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/select.h>
#include <time.h>

static Display *dpy;
static Window source, target;
static Atom XdndAware, XdndEnter, XdndPosition, XdndStatus, XdndDrop, XdndFinished, XdndSelection,
    XdndActionCopy, UriList;
static char uris[8192];

/* Adds one file as a URI: every byte but the unreserved ones and '/' as %XX. */
static void add_uri(const char *path) {
  static const char unreserved[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-._~/";
  size_t n = strlen(uris);
  n += (size_t)snprintf(uris + n, sizeof uris - n, "file://");
  for (const unsigned char *p = (const unsigned char *)path; *p && n + 4 < sizeof uris; ++p) {
    if (strchr(unreserved, *p)) uris[n++] = (char)*p;
    else n += (size_t)snprintf(uris + n, sizeof uris - n, "%%%02X", *p);
  }
  if (n + 3 < sizeof uris) strcpy(uris + n, "\r\n");
}

static void send_message(Atom type, long l1, long l2, long l3, long l4) {
  XEvent e;
  memset(&e, 0, sizeof e);
  e.xclient.type = ClientMessage;
  e.xclient.window = target;
  e.xclient.message_type = type;
  e.xclient.format = 32;
  e.xclient.data.l[0] = (long)source;
  e.xclient.data.l[1] = l1;
  e.xclient.data.l[2] = l2;
  e.xclient.data.l[3] = l3;
  e.xclient.data.l[4] = l4;
  XSendEvent(dpy, target, False, NoEventMask, &e);
  XFlush(dpy);
}

/* Hands the file list over when asked for it. */
static void answer(XSelectionRequestEvent *r) {
  XEvent reply;
  memset(&reply, 0, sizeof reply);
  reply.xselection.type = SelectionNotify;
  reply.xselection.requestor = r->requestor;
  reply.xselection.selection = r->selection;
  reply.xselection.target = r->target;
  reply.xselection.time = r->time;
  reply.xselection.property = None;
  if (r->target == UriList) {
    Atom property = r->property != None ? r->property : r->target;
    XChangeProperty(dpy, r->requestor, property, UriList, 8, PropModeReplace, (unsigned char *)uris,
                    (int)strlen(uris));
    reply.xselection.property = property;
  }
  XSendEvent(dpy, r->requestor, False, NoEventMask, &reply);
  XFlush(dpy);
}

/* Serves selection requests until a client message of this type arrives, or
 * ten seconds pass. */
static int wait_for(Atom type, XEvent *got) {
  time_t until = time(NULL) + 10;
  int fd = ConnectionNumber(dpy);
  while (time(NULL) < until) {
    while (XPending(dpy)) {
      XEvent e;
      XNextEvent(dpy, &e);
      if (e.type == SelectionRequest) answer(&e.xselectionrequest);
      if (e.type == ClientMessage && e.xclient.message_type == type) {
        *got = e;
        return 1;
      }
    }
    fd_set fds;
    FD_ZERO(&fds);
    FD_SET(fd, &fds);
    struct timeval tv = {0, 100000};
    select(fd + 1, &fds, NULL, NULL, &tv);
  }
  return 0;
}

int main(int argc, char **argv) {
  if (argc < 4) {
    fprintf(stderr, "usage: xdnd_drop X Y FILE...\n");
    return 2;
  }
  int x = atoi(argv[1]), y = atoi(argv[2]);
  for (int i = 3; i < argc; ++i) add_uri(argv[i]);
  if (!(dpy = XOpenDisplay(NULL))) {
    fprintf(stderr, "xdnd_drop: no display\n");
    return 1;
  }
  XdndAware = XInternAtom(dpy, "XdndAware", False);
  XdndEnter = XInternAtom(dpy, "XdndEnter", False);
  XdndPosition = XInternAtom(dpy, "XdndPosition", False);
  XdndStatus = XInternAtom(dpy, "XdndStatus", False);
  XdndDrop = XInternAtom(dpy, "XdndDrop", False);
  XdndFinished = XInternAtom(dpy, "XdndFinished", False);
  XdndSelection = XInternAtom(dpy, "XdndSelection", False);
  XdndActionCopy = XInternAtom(dpy, "XdndActionCopy", False);
  UriList = XInternAtom(dpy, "text/uri-list", False);

  Window root = DefaultRootWindow(dpy), child = None;
  int tx, ty;
  XTranslateCoordinates(dpy, root, root, x, y, &tx, &ty, &child);
  if (child == None) {
    fprintf(stderr, "xdnd_drop: no window at %d,%d\n", x, y);
    return 1;
  }
  target = child;
  source = XCreateSimpleWindow(dpy, root, 0, 0, 1, 1, 0, 0, 0);
  XSetSelectionOwner(dpy, XdndSelection, source, CurrentTime);

  XEvent got;
  send_message(XdndEnter, 5L << 24, (long)UriList, None, None);
  send_message(XdndPosition, 0, ((long)x << 16) | y, CurrentTime, (long)XdndActionCopy);
  if (!wait_for(XdndStatus, &got)) {
    fprintf(stderr, "xdnd_drop: window 0x%lx did not answer\n", target);
    return 1;
  }
  if (!(got.xclient.data.l[1] & 1)) {
    fprintf(stderr, "xdnd_drop: window 0x%lx refused the files\n", target);
    send_message(XInternAtom(dpy, "XdndLeave", False), 0, 0, 0, 0);
    return 1;
  }
  send_message(XdndDrop, 0, CurrentTime, 0, 0);
  if (!wait_for(XdndFinished, &got)) {
    fprintf(stderr, "xdnd_drop: the drop was not finished\n");
    return 1;
  }
  XCloseDisplay(dpy);
  return 0;
}
