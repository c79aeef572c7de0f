// The page's side of the web window system, its controls: labels, the list box, picture
// buttons and picture boxes as elements of their window (WebPage.js builds the windows).
mergeInto(LibraryManager.library, {
  avo_web_control_create__deps: ['$AvoPage'],
  avo_web_control_create: function(id, index, kind, name, left, top, width, height, text,
                                   tip, accessibleName, fore, back, border, align) {
    var form = AvoPage.windows.get(id);
    var kinds = ['listbox', 'label', 'button', 'button'];
    if (kind >= kinds.length) { form.controls[index] = null; return; }
    var element = document.createElement('div');
    element.className = 'control ' + kinds[kind] + (kind === 2 ? ' pushbutton' : '') +
        (border ? ' single' : '');
    element.id = 'w' + id + '-' + UTF8ToString(name);
    element.dataset.name = UTF8ToString(name);
    element.style.left = left + 'px';
    element.style.top = top + 'px';
    element.style.width = width + 'px';
    element.style.height = height + 'px';
    element.style.color = UTF8ToString(fore);
    element.style.background = UTF8ToString(back);
    element.style.textAlign = ['left', 'center', 'right'][align];
    if (UTF8ToString(tip)) element.title = UTF8ToString(tip);
    if (UTF8ToString(accessibleName)) element.setAttribute('aria-label', UTF8ToString(accessibleName));
    if (kinds[kind] !== 'label') {
      element.tabIndex = 0;
      element.setAttribute('role', kinds[kind]);
    }
    if (kind === 0) {
      element.rows = [];
      element.selected = -1;
      element.addEventListener('keydown', function(event) { AvoPage.onListKey(form, index, event); });
    } else {
      if (kind === 1) element.textContent = UTF8ToString(text);
      element.addEventListener('click', function() { _avo_web_on_click(id, index); });
    }
    form.controls[index] = element;
    form.client.appendChild(element);
  },

  avo_web_control_picture__deps: ['$AvoPage'],
  // A picture box shows its picture from its top-left corner; a push button's picture is
  // centred on the button, on whole pixels, and drawn over the edges of its face where it is
  // wider than the space inside them, as the desktop's buttons draw it.
  avo_web_control_picture: function(id, index, file, length, file2x, length2x, width, height) {
    var control = AvoPage.control(id, index);
    var image = AvoPage.jpegImage(file, length, file2x, length2x, width, height);
    if (control.classList.contains('pushbutton')) {
      image.style.left = Math.floor((parseInt(control.style.width, 10) - width) / 2) + 'px';
      image.style.top = Math.floor((parseInt(control.style.height, 10) - height) / 2) + 'px';
    }
    control.appendChild(image);
  },

  avo_web_control_font__deps: ['$AvoPage'],
  avo_web_control_font: function(id, index, family, points, weight, italic, underline, strike) {
    var style = AvoPage.control(id, index).style;
    style.fontFamily = UTF8ToString(family);
    style.fontSize = points + 'pt';
    style.fontWeight = String(weight);
    style.fontStyle = italic ? 'italic' : 'normal';
    var lines = (underline ? ' underline' : '') + (strike ? ' line-through' : '');
    style.textDecoration = lines || 'none';
  },

  avo_web_list_row__deps: ['$AvoPage'],
  avo_web_list_row: function(id, index, text) {
    var form = AvoPage.windows.get(id);
    var list = form.controls[index];
    var row = list.rows.length;
    var option = document.createElement('div');
    option.className = 'row';
    option.id = list.id + '-' + row;
    option.setAttribute('role', 'option');
    option.setAttribute('aria-selected', 'false');
    option.textContent = UTF8ToString(text);
    option.addEventListener('click', function() {
      if (AvoPage.selectRow(form, index, row)) _avo_web_on_click(id, index);
    });
    list.rows.push(option);
    list.appendChild(option);
  },

  // An output box: named by its heading and announced politely when its text changes.
  avo_web_label_heading__deps: ['$AvoPage'],
  avo_web_label_heading: function(id, box, heading) {
    var element = AvoPage.control(id, box);
    element.removeAttribute('aria-label');
    element.setAttribute('role', 'status');
    element.setAttribute('aria-live', 'polite');
    element.setAttribute('aria-labelledby', AvoPage.control(id, heading).id);
  },

  avo_web_set_text__deps: ['$AvoPage'],
  avo_web_set_text: function(id, index, text) {
    AvoPage.control(id, index).textContent = UTF8ToString(text);
  },

  avo_web_set_font_size__deps: ['$AvoPage'],
  avo_web_set_font_size: function(id, index, points) {
    AvoPage.control(id, index).style.fontSize = points + 'pt';
  },

  avo_web_selected_row__deps: ['$AvoPage'],
  avo_web_selected_row: function(id, index) { return AvoPage.control(id, index).selected; },

});
