// The page's side of the web window system: the document model of the windows and their
// controls. The C++ side (WebWindow, WebWindowSystem) decides what is built, where it goes and
// what a key or a click means; this file only builds elements and turns the page's input into
// calls back into the program.
mergeInto(LibraryManager.library, {
  $AvoPage__postset: 'AvoPage.init();',
  $AvoPage: {
    windows: null,
    pictures: null,
    nextZ: 1,
    activeId: 0,
    desktop: null,
    scale: 1,
    init: function() {
      // The library's own values are copied as plain data, so the maps are made here.
      AvoPage.windows = new Map();
      AvoPage.pictures = new Map();
      if (typeof document === 'undefined') return;
      AvoPage.desktop = document.getElementById('desktop');
      window.addEventListener('resize', AvoPage.fitScreen);
      // The page's faces load while the module compiles, not once the windows first need them.
      if (document.fonts) document.fonts.forEach(function(face) { face.load().catch(function() {}); });
    },
    // Lays the program's windows out on a screen at least as large as the main window: a
    // screen smaller than that (a phone) shows the whole of it scaled down, never cut off.
    fitScreen: function() {
      var need = AvoPage.mainSize || {width: 1, height: 1};
      var width = document.documentElement.clientWidth || window.innerWidth;
      var height = document.documentElement.clientHeight || window.innerHeight;
      var scale = Math.min(1, width / need.width, height / need.height);
      AvoPage.scale = scale;
      var desktop = AvoPage.desktop;
      desktop.style.width = (width / scale) + 'px';
      desktop.style.height = (height / scale) + 'px';
      desktop.style.transform = scale < 1 ? 'scale(' + scale + ')' : '';
    },
    // A picture file of the program as an address the page can show: written out as data
    // where the browser encodes base64 itself, which costs the page far less than a blob.
    pictureUrl: function(pointer, length, type) {
      if (!pointer) return '';
      var url = AvoPage.pictures.get(pointer);
      if (!url) {
        var bytes = HEAPU8.subarray(pointer, pointer + length);
        url = bytes.toBase64 ? 'data:' + type + ';base64,' + bytes.toBase64() :
            URL.createObjectURL(new Blob([bytes.slice()], {type: type}));
        AvoPage.pictures.set(pointer, url);
      }
      return url;
    },
    makeImage: function(url1x, url2x, width, height) {
      var image = document.createElement('img');
      image.src = url1x;
      if (url2x) image.srcset = url1x + ' 1x, ' + url2x + ' 2x';
      image.width = width;
      image.height = height;
      image.alt = '';
      image.draggable = false;
      image.className = 'picture';
      return image;
    },
    // A picture's 2x file goes to the browser at once where the screen needs it, else once the
    // page has been drawn (for a later zoom): each file handed over is copied, and the 2x files
    // are the largest.
    jpegImage: function(file, length, file2x, length2x, width, height) {
      var url = AvoPage.pictureUrl(file, length, 'image/jpeg');
      var image = AvoPage.makeImage(url, '', width, height);
      if (!file2x) return image;
      var offer2x = function() {
        image.srcset = url + ' 1x, ' + AvoPage.pictureUrl(file2x, length2x, 'image/jpeg') + ' 2x';
      };
      if (window.devicePixelRatio > 1) offer2x();
      else requestAnimationFrame(function() { setTimeout(offer2x, 0); });
      return image;
    },
    control: function(id, index) {
      var form = AvoPage.windows.get(id);
      return form ? form.controls[index] : null;
    },
    activate: function(form) {
      form.root.style.zIndex = String(AvoPage.nextZ++);
      AvoPage.activeId = form.id;
      AvoPage.windows.forEach(function(other) {
        other.root.classList.toggle('active', other === form);
      });
      document.title = form.caption;
    },
    focusedIndex: function(form) {
      var element = document.activeElement;
      for (var i = 0; i < form.controls.length; ++i) {
        if (form.controls[i] && form.controls[i] === element) return i;
      }
      return -1;
    },
    onKey: function(form, event) {
      // The close key combination, where the browser leaves it to the page: the only close
      // command a borderless window has.
      if (event.key === 'F4' && event.altKey) {
        event.preventDefault();
        _avo_web_on_close(form.id);
        return;
      }
      var keys = {Tab: event.shiftKey ? 1 : 0, ' ': 2, Enter: 3, Escape: 4};
      if (!(event.key in keys) || event.altKey || event.ctrlKey || event.metaKey) return;
      event.preventDefault();
      _avo_web_on_key(form.id, AvoPage.focusedIndex(form), keys[event.key]);
    },
    // A minimised window waits as a button on the page's task bar, which restores it.
    minimise: function(form) {
      form.root.classList.add('minimised');
      var task = document.createElement('button');
      task.type = 'button';
      task.textContent = form.caption;
      task.addEventListener('click', function() {
        AvoPage.restore(form);
        AvoPage.activate(form);
      });
      form.task = task;
      document.getElementById('taskbar').appendChild(task);
      if (AvoPage.activeId === form.id) AvoPage.activeId = 0;
    },
    restore: function(form) {
      form.root.classList.remove('minimised');
      if (form.task) form.task.remove();
      form.task = null;
    },
    // The user drags a window by its caption bar.
    drag: function(form, event) {
      if (event.button !== 0 || event.target.classList.contains('captionbox')) return;
      var root = form.root, startX = event.clientX, startY = event.clientY;
      var left = root.offsetLeft, top = root.offsetTop;
      function move(moved) {
        root.style.left = (left + (moved.clientX - startX) / AvoPage.scale) + 'px';
        root.style.top = (top + (moved.clientY - startY) / AvoPage.scale) + 'px';
      }
      function stop() {
        document.removeEventListener('mousemove', move);
        document.removeEventListener('mouseup', stop);
      }
      document.addEventListener('mousemove', move);
      document.addEventListener('mouseup', stop);
      event.preventDefault();
    },
    selectRow: function(form, index, row) {
      var list = form.controls[index];
      if (row < 0 || row >= list.rows.length || row === list.selected) return false;
      if (list.selected >= 0) list.rows[list.selected].setAttribute('aria-selected', 'false');
      list.selected = row;
      var option = list.rows[row];
      option.setAttribute('aria-selected', 'true');
      list.setAttribute('aria-activedescendant', option.id);
      var top = option.offsetTop, bottom = top + option.offsetHeight;
      if (top < list.scrollTop) list.scrollTop = top;
      else if (bottom > list.scrollTop + list.clientHeight) {
        list.scrollTop = bottom - list.clientHeight;
      }
      return true;
    },
    // The list's own keys: the arrows, Home, End and the page keys move the selection.
    onListKey: function(form, index, event) {
      var list = form.controls[index];
      var page = Math.max(1, Math.floor(list.clientHeight / (list.rows[0].offsetHeight || 1)));
      var moves = {ArrowDown: 1, ArrowUp: -1, PageDown: page - 1, PageUp: 1 - page};
      var row = list.selected;
      if (event.key in moves) row = Math.max(0, Math.min(list.rows.length - 1, row + moves[event.key]));
      else if (event.key === 'Home') row = 0;
      else if (event.key === 'End') row = list.rows.length - 1;
      else return;
      event.preventDefault();
      if (row < 0) row = 0;
      if (AvoPage.selectRow(form, index, row)) _avo_web_on_click(form.id, index);
    },
  },

  avo_web_window_create__deps: ['$AvoPage'],
  avo_web_window_create: function(id, name, caption, bordered, width, height, back, icon, iconLength) {
    var root = document.createElement('div');
    root.className = bordered ? 'window bordered' : 'window';
    root.hidden = true;
    root.dataset.window = UTF8ToString(name);
    root.setAttribute('role', 'dialog');
    root.setAttribute('aria-label', UTF8ToString(caption));
    var form = {id: id, root: root, caption: UTF8ToString(caption), controls: []};
    if (bordered) {
      var bar = document.createElement('div');
      bar.className = 'titlebar';
      var iconUrl = AvoPage.pictureUrl(icon, iconLength, 'image/x-icon');
      if (iconUrl) bar.appendChild(AvoPage.makeImage(iconUrl, '', 16, 16));
      var title = document.createElement('span');
      title.className = 'caption';
      title.textContent = form.caption;
      bar.appendChild(title);
      var minimise = document.createElement('div');
      minimise.className = 'captionbox';
      minimise.setAttribute('role', 'button');
      minimise.setAttribute('aria-label', 'Simge durumuna küçült');
      minimise.textContent = '_';
      minimise.addEventListener('click', function() { AvoPage.minimise(form); });
      bar.appendChild(minimise);
      bar.addEventListener('mousedown', function(event) { AvoPage.drag(form, event); });
      var close = document.createElement('div');
      close.className = 'captionbox closebox';
      close.setAttribute('role', 'button');
      close.setAttribute('aria-label', 'Kapat');
      close.textContent = '\u2715';
      close.addEventListener('click', function() { _avo_web_on_close(id); });
      bar.appendChild(close);
      root.appendChild(bar);
      if (!AvoPage.mainSize) {
        AvoPage.mainSize = {width: width + 6, height: height + 30};
        if (iconUrl) document.getElementById('favicon').href = iconUrl;
      }
    }
    var client = document.createElement('div');
    client.className = 'client';
    client.style.width = width + 'px';
    client.style.height = height + 'px';
    client.style.background = UTF8ToString(back);
    root.appendChild(client);
    form.client = client;
    // A click on a window activates it; one on no control leaves the focus on the window's
    // focused control, as on a desktop.
    root.addEventListener('mousedown', function(event) {
      if (AvoPage.activeId !== id) AvoPage.activate(form);
      if (event.target.closest('[tabindex]')) return;
      event.preventDefault();
      var target = form.lastFocus || form.initialFocus;
      if (target && !root.contains(document.activeElement)) target.focus();
    }, true);
    root.addEventListener('keydown', function(event) { AvoPage.onKey(form, event); });
    root.addEventListener('focusin', function(event) { form.lastFocus = event.target; });
    AvoPage.windows.set(id, form);
    AvoPage.desktop.appendChild(root);
    AvoPage.fitScreen();
  },

  avo_web_window_picture__deps: ['$AvoPage'],
  avo_web_window_picture: function(id, file, length, file2x, length2x, width, height) {
    var form = AvoPage.windows.get(id);
    form.client.appendChild(AvoPage.jpegImage(file, length, file2x, length2x, width, height));
  },

  avo_web_window_place__deps: ['$AvoPage'],
  avo_web_window_place: function(id, left, top) {
    var root = AvoPage.windows.get(id).root;
    root.style.left = left + 'px';
    root.style.top = top + 'px';
  },

  // The screen the windows are laid out on, and a window's frame on it, in CSS pixels.
  avo_web_work_area__deps: ['$AvoPage'],
  avo_web_work_area: function(out) {
    AvoPage.fitScreen();
    HEAP32[out >> 2] = AvoPage.desktop.offsetWidth;
    HEAP32[(out >> 2) + 1] = AvoPage.desktop.offsetHeight;
  },
  avo_web_window_frame__deps: ['$AvoPage'],
  avo_web_window_frame: function(id, out) {
    var root = AvoPage.windows.get(id).root;
    HEAP32[out >> 2] = root.offsetLeft;
    HEAP32[(out >> 2) + 1] = root.offsetTop;
    HEAP32[(out >> 2) + 2] = root.offsetWidth;
    HEAP32[(out >> 2) + 3] = root.offsetHeight;
  },
  avo_web_window_active__deps: ['$AvoPage'],
  avo_web_window_active: function(id) { return AvoPage.activeId === id ? 1 : 0; },

  avo_web_window_show__deps: ['$AvoPage'],
  avo_web_window_show: function(id, initialFocus) {
    var form = AvoPage.windows.get(id);
    form.root.hidden = false;
    AvoPage.restore(form);
    AvoPage.activate(form);
    form.initialFocus = form.controls[initialFocus];
    if (!form.root.contains(document.activeElement)) {
      var target = form.lastFocus || form.initialFocus;
      if (target) target.focus();
    }
  },

  avo_web_window_destroy__deps: ['$AvoPage'],
  avo_web_window_destroy: function(id) {
    var form = AvoPage.windows.get(id);
    if (!form) return;
    (form.timers || []).forEach(function(timer) { clearInterval(timer); });
    form.root.remove();
    AvoPage.restore(form);
    AvoPage.windows.delete(id);
    if (AvoPage.activeId === id) AvoPage.activeId = 0;
  },

  avo_web_focus__deps: ['$AvoPage'],
  avo_web_focus: function(id, index) {
    var element = AvoPage.control(id, index);
    if (element) element.focus();
  },

  // A timer of the window: runs every interval while set, stopped by 0.
  avo_web_set_timer__deps: ['$AvoPage'],
  avo_web_set_timer: function(id, index, interval) {
    var form = AvoPage.windows.get(id);
    form.timers = form.timers || [];
    if (form.timers[index]) clearInterval(form.timers[index]);
    form.timers[index] = interval > 0 ?
        setInterval(function() { _avo_web_on_timer(id, index); }, interval) : 0;
  },

  // Opens the address in a new tab inside the click that asked for it, without giving the
  // new page a hold on this one. False when the browser refuses (a pop-up blocker).
  avo_web_open_site: function(address) {
    var opened = window.open(UTF8ToString(address), '_blank');
    if (!opened) return 0;
    opened.opener = null;
    return 1;
  },

  // The program has ended: its windows are gone. The page says so and offers a fresh start.
  avo_web_program_ended__deps: ['$AvoPage'],
  avo_web_program_ended: function() {
    setTimeout(function() {
      _avo_web_release();
      document.title = 'Rivuvuv Avodevivu 2010';
      var notice = document.getElementById('ended');
      notice.hidden = false;
      var restart = document.getElementById('restart');
      restart.onclick = function() {
        notice.hidden = true;
        _avo_web_start();
      };
      restart.focus();
    }, 0);
  },
});
