# A Qt tool made with PyQt6 and docked in the host; the console runs it.
import bellwick
from PyQt6 import QtCore, QtWidgets


class Counter(QtWidgets.QWidget):
    def __init__(self):
        super().__init__()
        self.clicks = 0
        button = QtWidgets.QPushButton("Count", self)
        button.setObjectName("countButton")
        button.clicked.connect(self.count)
        QtWidgets.QVBoxLayout(self).addWidget(button)

    def count(self):
        self.clicks += 1
        print("clicked", self.clicks)


def plot():
    import matplotlib.pyplot as plt
    figure = plt.figure()
    plt.plot([1, 2, 3], [1, 4, 9])
    plt.show()
    print("figure shown:", figure.canvas.manager.window.isVisible(), type(figure.canvas).__name__)


application = QtWidgets.QApplication.instance()
window = bellwick.main_window()
counter = Counter()
dock = bellwick.add_dock("Counter", counter)
menu = [action.menu() for action in window.menuBar().actions() if action.text() == "&Window"][0]
print("the host's application:", application is QtCore.QCoreApplication.instance(), type(application).__name__)
print("one application:", QtWidgets.QApplication(["tool"]) is application)
print("docked:", dock.parentWidget() is window, dock.objectName())
print("in the Window menu:", "Counter" in [action.text() for action in menu.actions()])
print("round trip:", bellwick.to_pyqt(bellwick.from_pyqt(window)) is window)
