# A Qt tool made with PyQt6 and a matplotlib plot, both docked in bellwick's window.
# Needs python3-pyqt6, python3-numpy and python3-matplotlib and the installation's packages:
#   bellwick --site-packages --window --stay --python examples/qt_tools.py
import bellwick
import numpy as np
from matplotlib.backends.backend_qtagg import FigureCanvasQTAgg
from matplotlib.figure import Figure
from PyQt6 import QtCore, QtWidgets


class WavePlot(FigureCanvasQTAgg):
    def __init__(self):
        super().__init__(Figure(figsize=(4, 3), tight_layout=True))
        self.setMinimumSize(320, 240)
        self.axes = self.figure.add_subplot()
        self.x = np.linspace(0, 2 * np.pi, 400)
        self.show_wave(3)

    def show_wave(self, frequency):
        self.axes.clear()
        self.axes.plot(self.x, np.sin(frequency * self.x) * np.exp(-self.x / 4))
        self.axes.set_title("sin(%d x) e^(-x/4)" % frequency)
        self.draw_idle()


class WaveTool(QtWidgets.QWidget):
    def __init__(self, plot):
        super().__init__()
        self.plot = plot
        self.slider = QtWidgets.QSlider(QtCore.Qt.Orientation.Horizontal)
        self.slider.setRange(1, 12)
        self.slider.setValue(3)
        self.label = QtWidgets.QLabel()
        report = QtWidgets.QPushButton("Print the peak")
        layout = QtWidgets.QFormLayout(self)
        layout.addRow("Frequency", self.slider)
        layout.addRow("", self.label)
        layout.addRow(report)
        self.slider.valueChanged.connect(self.frequency_changed)
        report.clicked.connect(self.print_peak)
        self.frequency_changed(self.slider.value())

    def frequency_changed(self, frequency):
        self.label.setText("%d periods over 2\u03c0" % frequency)
        self.plot.show_wave(frequency)

    def print_peak(self):
        x = self.plot.x
        print("peak:", float(np.max(np.sin(self.slider.value() * x) * np.exp(-x / 4))))


plot = WavePlot()
tool = WaveTool(plot)
# Docks start on the right, by the console; these two go left, one above the other. The host
# keeps wherever they are moved from run to run.
window = bellwick.main_window()
plot_dock = bellwick.add_dock("Wave plot", plot)
tool_dock = bellwick.add_dock("Wave tool", tool)
window.addDockWidget(QtCore.Qt.DockWidgetArea.LeftDockWidgetArea, plot_dock)
window.splitDockWidget(plot_dock, tool_dock, QtCore.Qt.Orientation.Vertical)
