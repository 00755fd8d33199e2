// The welcome page: reaches the application through the web channel ("kvwelcome") that the
// application hands its view in-process, lists recent projects and starts new or opened projects.
(function () {
  'use strict';
  const status = document.getElementById('status');

  function baseName(path) {
    return path.replace(/\\/g, '/').split('/').pop();
  }

  function showRecent(list, bridge) {
    const ul = document.getElementById('recent-list');
    ul.textContent = '';
    if (!list || list.length === 0) {
      const li = document.createElement('li');
      li.className = 'empty';
      li.textContent = 'No recent projects yet.';
      ul.appendChild(li);
      return;
    }
    for (const path of list) {
      const li = document.createElement('li');
      const a = document.createElement('a');
      a.textContent = baseName(path);
      a.title = path;
      a.addEventListener('click', () => bridge.openProject(path));
      li.appendChild(a);
      ul.appendChild(li);
    }
  }

  // The application hands the page its channel in-process; opened anywhere else it is offline.
  const transport = typeof qt !== 'undefined' && qt.webChannelTransport;
  if (!transport || typeof QWebChannel === 'undefined') {
    status.textContent = 'Offline';
    return;
  }
  new QWebChannel(transport, (channel) => {
    const bridge = channel.objects.kvwelcome;
    if (!bridge) {
      status.textContent = 'Offline';
      return;
    }
    status.textContent = 'Ready';
    document.getElementById('version').textContent = 'Version ' + bridge.version;
    showRecent(bridge.recentProjects, bridge);
    bridge.recentProjectsChanged.connect(() => showRecent(bridge.recentProjects, bridge));
    document.getElementById('new-project').addEventListener('click', () => bridge.newProject());
    document.getElementById('open-project').addEventListener('click', () => bridge.openProjectDialog());
    bridge.pageReady('connected; ' + (bridge.recentProjects || []).length + ' recent');
  });
})();
